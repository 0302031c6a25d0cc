#pragma once
// Windows only. Paths and texts are UTF-8 inside the game and UTF-16 at the
// Windows API; bytes that are not UTF-8 are refused, never guessed at, so a
// save cannot land in a file of a different name.

#include <optional>
#include <string>

namespace mw {

// The UTF-16 form of UTF-8 text; nullopt when the bytes are not UTF-8.
std::optional<std::wstring> WideFromUtf8(const std::string& utf8);

// The UTF-16 form of a UTF-8 path with every '/' turned into '\', so that
// code splitting it sees one separator. nullopt when the bytes are not UTF-8
// or hold a NUL (the API would cut the path there).
std::optional<std::wstring> WidePath(const std::string& utf8);

// The UTF-8 form of UTF-16 text; nullopt when it holds a lone surrogate.
std::optional<std::string> Utf8FromWide(const std::wstring& wide);

}  // namespace mw
