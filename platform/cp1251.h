#pragma once
// Windows-1251 <-> UTF-8. Every byte maps to a code point and back (0x98, which
// the code page leaves undefined, maps to U+0098), so any file text survives a
// read and a write unchanged.
#include <optional>
#include <string>
#include <string_view>

namespace tavir {

std::string Cp1251ToUtf8(std::string_view bytes);
// Empty optional when the text has a character the code page lacks or is not valid UTF-8.
std::optional<std::string> Utf8ToCp1251(std::string_view utf8);
bool IsCp1251Encodable(std::string_view utf8);

}  // namespace tavir
