#pragma once

#include <string>
#include <string_view>

// The system's ANSI code page is fixed to 936 (GBK): every 8-bit text of the
// program (literals, captions, answer bodies) is GBK bytes.

// Wide (UTF-16) to ANSI. The text ends at its first unit 0; a character the
// code page cannot represent becomes its default character "?".
std::string WideToAnsi(std::u16string_view wide);

// ANSI to wide. A byte sequence that is not GBK becomes U+003F "?".
std::u16string AnsiToWide(std::string_view ansi);

// UTF-8 text from the system (a file name as the file system holds it, the C
// library's error texts) to ANSI, for showing it; a character the code page
// cannot represent, or a byte that is no UTF-8, becomes "?". Files are opened
// by their real names, never by this.
std::string Utf8ToAnsi(std::string_view name);
