// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QBrush;
class QPainter;
class QPalette;
class QRect;

// The desktop's two-line bevels, each line one logical pixel with every device pixel of it
// painted. Qt 6.4's qDrawWinPanel and qDrawWinButton draw each line one device pixel wide at any
// scale, so on high-resolution screens opaque widgets show stale memory and others a gap. They
// can come back once the Qt of every platform paints the lines whole (tst_photo_box tells).

// The sunken border of the tile and the photograph: dark then shadow at the top and left,
// light then midlight at the bottom and right.
void drawSunkenBorder(QPainter& painter, const QRect& rect, const QPalette& palette);

// A push button's bevel, raised or pressed, with its face filled inside.
void drawButtonBevel(QPainter& painter, const QRect& rect, const QPalette& palette, bool pressed,
                     const QBrush& face);
