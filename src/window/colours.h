// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The window was designed with colours written 0x00BBGGRR: blue in the high byte.
constexpr QColor fromBgr(unsigned bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

inline constexpr unsigned kFormBackgroundBgr = 0x00FFC0C0;    // light blue
inline constexpr unsigned kHeadingBackgroundBgr = 0x0080C0FF; // light orange
inline constexpr unsigned kClearFaceBgr = 0x000000FF;         // pure red
