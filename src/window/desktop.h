// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>

class QWidget;

// What the desktop the program runs on does with its windows, from Qt's platform plugin.
struct Desktop
{
    // Wayland compositors place windows themselves and ignore a move.
    bool placesWindows = true;
    // X11's window managers and Windows keep a fixed size in pixels, as the window told it.
    bool keepsSizeHintsInPixels = false;
};

const Desktop& CurrentDesktop();

// The whole window, frame included, centred on a point of its screen (in the window's units),
// kept inside the screen's free area; nothing where the desktop places windows itself.
void CentreWindow(QWidget* window, QPoint centre);
