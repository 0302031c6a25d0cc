#include "input/name_letters.h"

#include <array>

namespace mw {
namespace {

// Windows-1252: Ä Ö Ü, ä ö ü ß.
constexpr std::string_view kRing =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC4\xD6\xDC"
    "abcdefghijklmnopqrstuvwxyz\xE4\xF6\xFC\xDF"
    "0123456789"
    " .-!?";
// Where each group of the ring starts.
constexpr std::array<std::size_t, 4> kGroupStarts{0, 29, 59, 69};
constexpr char kBackspace = 8;

std::size_t GroupOf(std::size_t at) {
  std::size_t group = 0;
  while (group + 1 < kGroupStarts.size() && at >= kGroupStarts[group + 1]) ++group;
  return group;
}

// One place forward or back (step 1 or -1) in a ring of that size.
std::size_t Step(std::size_t at, int step, std::size_t size) {
  return (at + (step > 0 ? 1 : size - 1)) % size;
}

}  // namespace

std::string TypingForNameEdit(std::string_view name, NameEdit edit, std::size_t limit) {
  if (edit == NameEdit::kDeleteLetter) return name.empty() ? "" : std::string(1, kBackspace);
  if (edit == NameEdit::kAddLetter) {
    if (name.size() >= limit) return "";
    // A name starts with a capital; the letters after it are mostly small.
    return name.empty() ? "A" : "a";
  }
  const int step = edit == NameEdit::kNextLetter || edit == NameEdit::kNextGroup ? 1 : -1;
  const bool by_group = edit == NameEdit::kNextGroup || edit == NameEdit::kPreviousGroup;
  if (name.empty()) {
    if (limit == 0) return "";
    if (!by_group) return std::string(1, step > 0 ? kRing.front() : kRing.back());
    return std::string(1, kRing[step > 0 ? 0 : kGroupStarts.back()]);
  }
  const std::size_t at = kRing.find(name.back());
  // A character from a keyboard that the ring does not hold starts it anew.
  if (at == std::string_view::npos) return std::string{kBackspace, kRing.front()};
  const std::size_t next = by_group ? kGroupStarts[Step(GroupOf(at), step, kGroupStarts.size())]
                                    : Step(at, step, kRing.size());
  return std::string{kBackspace, kRing[next]};
}

void ApplyTypingToName(std::string& name, std::string_view typed, std::size_t limit) {
  for (const char c : typed) {
    if (c == kBackspace) {
      if (!name.empty()) name.pop_back();
    } else if (static_cast<unsigned char>(c) >= 32 && name.size() < limit) {
      name.push_back(c);
    }
  }
}

}  // namespace mw
