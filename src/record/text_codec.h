#pragma once
// Text in files is code page 932 (Shift-JIS); inside the program it is UTF-8. A text read from a
// file that is valid UTF-8 and not plain ASCII is taken as UTF-8 as it stands.

#include <string>
#include <string_view>

namespace wavora {

// File bytes to UTF-8. Bytes that are not valid code page 932 become U+FFFD.
std::string DecodeFileText(std::string_view bytes);
// UTF-8 to code page 932 bytes; characters without a code-page-932 form become "?".
// The micro sign U+00B5 is written as the Greek mu (0x83 0xCA), as the meters write it.
std::string EncodeFileText(std::string_view utf8);

bool IsAscii(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// Cuts a UTF-8 text so that its code-page-932 form takes at most maxBytes bytes; never splits a character.
std::string CutToFileWidth(std::string_view utf8, size_t maxBytes);

}  // namespace wavora
