// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// An opaque colour, as the tile is drawn in it.
struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The window was designed with colours written 0x00BBGGRR: blue in the high byte.
constexpr Rgb RgbFromBgr(std::uint32_t bgr)
{
    return {static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
            static_cast<std::uint8_t>((bgr >> 16) & 0xFF)};
}
