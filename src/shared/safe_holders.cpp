#include "shared/safe_holders.h"

#include <bit>
#include <cstdint>

#include "shared/modul.h"

namespace mw {
namespace {

// A key of the holder's own, from where it lives, so equal values in two
// holders look different in memory.
std::uint32_t KeyFor(const void* where) {
  auto v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(where));
  v ^= v >> 33;
  v *= 0xFF51AFD7ED558CCDull;
  v ^= v >> 29;
  return static_cast<std::uint32_t>(v) | 1u;
}

std::uint32_t CheckOf(std::uint32_t plain, std::uint32_t key) {
  return ~plain ^ std::rotl(key, 13);
}

}  // namespace

SafeNr::SafeNr(Modul* alarm_to)
    : key_(KeyFor(this)), masked_(key_), check_(CheckOf(0, key_)), alarm_to_(alarm_to) {}

SafeNr::SafeNr(const SafeNr& other) : SafeNr(other.alarm_to_) {
  SetValue(other.Value());
}

SafeNr& SafeNr::operator=(const SafeNr& other) {
  if (this != &other) {
    alarm_to_ = other.alarm_to_;
    SetValue(other.Value());
  }
  return *this;
}

std::int32_t SafeNr::Value() const {
  const std::uint32_t plain = masked_ ^ key_;
  if (CheckOf(plain, key_) != check_ && alarm_to_ != nullptr) snr_CheatAlarm(*alarm_to_);
  return static_cast<std::int32_t>(plain);
}

void SafeNr::SetValue(std::int32_t value) {
  const auto plain = static_cast<std::uint32_t>(value);
  masked_ = plain ^ key_;
  check_ = CheckOf(plain, key_);
}

std::string SafeStr::derstring() const {
  std::string plain(masked_);
  for (char& c : plain) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ key_);
  return plain;
}

void SafeStr::SetDerstring(std::string_view text) {
  masked_.assign(text);
  for (char& c : masked_) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ key_);
}

}  // namespace mw
