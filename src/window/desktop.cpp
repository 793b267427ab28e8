// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

const Desktop& CurrentDesktop()
{
    static const Desktop desktop = [] {
        const QString platform = QGuiApplication::platformName();
        Desktop traits;
        traits.placesWindows = !platform.startsWith(QLatin1String("wayland"));
        traits.keepsSizeHintsInPixels =
            platform == QLatin1String("xcb") || platform == QLatin1String("windows");
        return traits;
    }();
    return desktop;
}

// move() places the frame's corner. A window larger than the free area keeps its top left
// corner, and so its title bar, on the screen.
void CentreWindow(QWidget* window, QPoint centre)
{
    if (!CurrentDesktop().placesWindows)
        return;
    const QRect available = window->screen()->availableGeometry();
    const QSize outer = window->frameGeometry().size();
    const QPoint corner = centre - QPoint(outer.width() / 2, outer.height() / 2);
    const int x = std::min(corner.x(), available.right() + 1 - outer.width());
    const int y = std::min(corner.y(), available.bottom() + 1 - outer.height());
    window->move(std::max(x, available.left()), std::max(y, available.top()));
}
