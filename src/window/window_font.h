// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_geometry.h"

#include <QFont>

// The one font of the window, used by every control.
inline QFont windowFont()
{
    // Where Times New Roman is missing, fontconfig maps it to its metric twin with Cyrillic.
    QFont font(QStringLiteral("Times New Roman"), kFontPoints);
    // Plain Cyrillic and Latin need no shaping; skipping it also leaves out kerning, as
    // the desktop this window was designed on did.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}
