// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_geometry.h"

#include <QColor>

// The window was designed with colours written 0x00BBGGRR: blue in the high byte.
constexpr QColor fromBgr(unsigned bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
