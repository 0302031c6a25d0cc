#pragma once
// The game's strings are Windows-1252 bytes (the high-score names are stored so);
// UTF-8 is used only at the edges: fonts, message boxes, logs, scripts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mw {

// Windows-1252 text to UTF-8. The five codes that 1252 leaves undefined map to
// the C1 control characters of the same number.
std::string Cp1252ToUtf8(std::string_view cp1252);

// UTF-8 text to Windows-1252; characters that 1252 cannot hold are dropped,
// and so are bytes that are not valid UTF-8.
std::string Utf8ToCp1252(std::string_view utf8);

// One Unicode code point to its Windows-1252 code, or nothing.
std::optional<std::uint8_t> CodePointToCp1252(char32_t cp);

}  // namespace mw
