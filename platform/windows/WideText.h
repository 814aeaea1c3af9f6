#pragma once

#include <string>
#include <string_view>

// UTF-8 and UTF-16 at the boundary of the Windows API inside platform/.

// UTF-8 (a file name, an address) to the wide text the W functions take;
// malformed bytes become U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);

// Wide text from the system to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

// UTF-8 to wide text for conversion to the code page: every malformed
// sequence becomes one lone surrogate U+D800, which the code page cannot
// represent, so it ends as one "?". A malformed sequence is its lead byte and
// the continuation bytes that follow it, up to the length the lead announces
// (a stray byte alone), exactly as the POSIX build skips them.
std::u16string Utf8ToWideMarked(std::string_view utf8);
