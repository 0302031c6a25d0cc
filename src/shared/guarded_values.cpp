#include "shared/guarded_values.h"

#include <bit>
#include <cstdint>

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

GuardedNumber::GuardedNumber() : key_(KeyFor(this)), masked_(key_), check_(CheckOf(0, key_)) {}

GuardedNumber::GuardedNumber(const GuardedNumber& other) : GuardedNumber() {
  SetValue(other.Value());
  tampered_ = other.tampered_;
}

GuardedNumber& GuardedNumber::operator=(const GuardedNumber& other) {
  if (this != &other) {
    SetValue(other.Value());
    tampered_ = other.tampered_;
  }
  return *this;
}

std::int32_t GuardedNumber::Value() const {
  const std::uint32_t plain = masked_ ^ key_;
  if (CheckOf(plain, key_) != check_) tampered_ = true;
  return static_cast<std::int32_t>(plain);
}

void GuardedNumber::SetValue(std::int32_t value) {
  const auto plain = static_cast<std::uint32_t>(value);
  masked_ = plain ^ key_;
  check_ = CheckOf(plain, key_);
}

std::string GuardedText::Text() const {
  std::string plain(masked_);
  for (char& c : plain) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ key_);
  return plain;
}

void GuardedText::SetText(std::string_view text) {
  masked_.assign(text);
  for (char& c : masked_) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ key_);
}

}  // namespace mw
