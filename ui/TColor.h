#pragma once

#include <cstdint>

// A colour as 0x00BBGGRR. Values with the top bit set name a colour of the
// system's theme, resolved when drawn.
using TColor = std::uint32_t;

namespace Colors {
inline constexpr TColor Black = 0x000000;
inline constexpr TColor Maroon = 0x000080;
inline constexpr TColor Red = 0x0000FF;
inline constexpr TColor Grey = 0x808080;
inline constexpr TColor Blue = 0xFF0000;
inline constexpr TColor White = 0xFFFFFF;

inline constexpr TColor SystemFlag = 0x80000000;
inline constexpr TColor ButtonFace = SystemFlag | 1;
inline constexpr TColor WindowBackground = SystemFlag | 2;
inline constexpr TColor WindowText = SystemFlag | 3;

constexpr bool IsSystem(TColor c) { return (c & SystemFlag) != 0; }
constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
} // namespace Colors
