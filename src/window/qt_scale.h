// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class QWidget;

// Qt's own scale factor, changed while the window is open, and what has to follow it. This is
// the one place that reaches into Qt's private API: Qt has no public way to change its scale
// once windows exist (none up to Qt 6.8).

// The factor QT_SCALE_FACTOR sets at start, set now.
void SetQtScale(qreal factor);

// The window's size in screen pixels, its backing store and its window manager's size hints,
// refitted to the scale. tellWindowManager: where the window manager keeps the fixed size it
// was told in pixels.
void RefitWindowToQtScale(QWidget* window, bool tellWindowManager);
