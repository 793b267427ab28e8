// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_scale.h"

#include <QBackingStore>
#include <QLoggingCategory>
#include <QPixmapCache>
#include <QWidget>
#include <QWindow>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <QtGui/private/qwindow_p.h>
#include <qpa/qplatformwindow.h>

namespace {

QLoggingCategory::CategoryFilter qtFilter = nullptr;

// Qt warns, in its default category, that the factor is meant for before the first window;
// the window is refitted to it, which is what that warning is about.
void withoutDefaultWarnings(QLoggingCategory* category)
{
    qtFilter(category);
    if (qstrcmp(category->categoryName(), "default") == 0)
        category->setEnabled(QtWarningMsg, false);
}

} // namespace

void SetQtScale(qreal factor)
{
    // Exit: when Qt offers a public scale for open windows (none up to Qt 6.8).
    // Qt calls a filter as it is installed: the one it replaces is known first.
    qtFilter = QLoggingCategory::installFilter(nullptr);
    QLoggingCategory::installFilter(withoutDefaultWarnings);
    QHighDpiScaling::setGlobalFactor(factor);
    QLoggingCategory::installFilter(qtFilter);
    // The styles size the pictures they keep by the application's ratio, which Qt keeps until
    // a screen changes. Exit: as above.
    QGuiApplicationPrivate::resetCachedDevicePixelRatio();
    QPixmapCache::clear();
}

void RefitWindowToQtScale(QWidget* window, bool tellWindowManager)
{
    QWindow* handle = window->windowHandle();
    if (!handle)
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    // Qt 6.6 and later keep each window's ratio until told to look again. Exit: when a change
    // of the global factor updates the windows' ratios itself.
    QWindowPrivate::get(handle)->updateDevicePixelRatio();
#endif
    // Qt keeps the window's size in its own units; its pixels follow only when told.
    handle->resize(window->size());
    // Exit: when Qt sends the size hints again after a change of its scale.
    if (QPlatformWindow* platform = handle->handle(); platform && tellWindowManager)
        platform->propagateSizeHints();
    if (QBackingStore* store = window->backingStore())
        store->resize(window->size());
}
