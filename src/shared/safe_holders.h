#pragma once
// Holders for values a player could alter from outside the process (score,
// time, pace, view, cartridges, high-score entries). The value is kept masked
// with a key of its own holder next to a check copy, so a plain search for the
// number in memory does not find it, and an edit of either copy is noticed.

#include <cstdint>
#include <string>
#include <string_view>

namespace mw {

struct Modul;

class SafeNr {
 public:
  SafeNr() : SafeNr(nullptr) {}
  // Alarms go to snr_CheatAlarm of this Modul (none when null).
  explicit SafeNr(Modul* alarm_to);
  SafeNr(const SafeNr& other);
  SafeNr& operator=(const SafeNr& other);

  // The value last written (0 until then). Raises the cheat alarm when the
  // stored copies no longer agree.
  std::int32_t Value() const;
  void SetValue(std::int32_t value);

  // Flips stored bits as an outside memory editor would; for tests only.
  void TamperForTest(std::uint32_t xor_bits) { masked_ ^= xor_bits; }

 private:
  std::uint32_t key_;
  std::uint32_t masked_;
  std::uint32_t check_;
  Modul* alarm_to_;
};

class SafeStr {
 public:
  SafeStr() = default;
  SafeStr(const SafeStr& other) = default;
  SafeStr& operator=(const SafeStr& other) = default;

  std::string derstring() const;  // Windows-1252 bytes
  void SetDerstring(std::string_view text);

 private:
  std::string masked_;
  std::uint8_t key_ = 0x5A;
};

}  // namespace mw
