#pragma once
// Holders for values a player could alter from outside the process (score,
// time, pace, view, cartridges, high-score entries). The value is kept masked
// with a key of its own holder next to a check copy, so a plain search for the
// number in memory does not find it, and an edit of either copy is noticed.
// A holder only remembers that it was tampered with; whoever is about to
// trust the values (the high-score save) asks.

#include <cstdint>
#include <string>
#include <string_view>

namespace mw {

class GuardedNumber {
 public:
  GuardedNumber();
  // A copy is tampered with when its original was.
  GuardedNumber(const GuardedNumber& other);
  GuardedNumber& operator=(const GuardedNumber& other);

  // The value last written (0 until then). A read that finds the stored
  // copies no longer agreeing marks the holder as tampered with.
  std::int32_t Value() const;
  void SetValue(std::int32_t value);
  // True once a read found the value edited from outside; stays true.
  bool Tampered() const { return tampered_; }

  // Flips stored bits as an outside memory editor would; for tests only.
  void TamperForTest(std::uint32_t xor_bits) { masked_ ^= xor_bits; }

 private:
  std::uint32_t key_;
  std::uint32_t masked_;
  std::uint32_t check_;
  mutable bool tampered_ = false;
};

class GuardedText {
 public:
  GuardedText() = default;
  GuardedText(const GuardedText& other) = default;
  GuardedText& operator=(const GuardedText& other) = default;

  std::string Text() const;  // Windows-1252 bytes
  void SetText(std::string_view text);

 private:
  std::string masked_;
  std::uint8_t key_ = 0x5A;
};

}  // namespace mw
