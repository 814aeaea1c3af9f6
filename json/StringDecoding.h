#pragma once

#include <cstdint>
#include <span>
#include <string>

// The steps that turn the raw bytes between a string's quotes into wide text.

// Expands the backslash escapes into `out` (replacing it). An unknown escape
// letter drops out together with its backslash; "\u" with anything but one to
// four hexadecimal digits raises EConvertError.
void ExpandEscapes(std::span<const uint8_t> raw, std::string& out);

// The byte a one-letter escape (the letter after the backslash) stands for,
// or -1 when the letter is not in the table and drops out with its backslash.
int EscapedByte(uint8_t letter);

// Appends one UTF-16 code unit as one to three UTF-8 bytes (surrogates alone).
void CodeUnitToUtf8(uint16_t unit, std::string& out);

// Decodes UTF-8 into `out` (replacing it): one code unit per sequence of one to
// three bytes, and a surrogate pair for a lead F0 to F4 with three continuation
// bytes. Lead bytes get no other test and over-long forms are taken. Malformed
// bytes anywhere (and a four-byte sequence beyond U+10FFFF) make the whole
// text empty.
void Utf8ToWide(std::span<const uint8_t> bytes, std::u16string& out);

// ExpandEscapes followed by Utf8ToWide in one pass, for raw bytes that are all
// below 80 hex outside escapes: every escape then gives whole sequences, so
// each \u unit and each byte comes out as one unit unchanged.
void ExpandAsciiEscapesToWide(std::span<const uint8_t> raw, std::u16string& out);
