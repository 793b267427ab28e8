// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontDatabase>

// The one font of the window, used by every control.
inline QFont windowFont()
{
    constexpr int kFontPoints = 12;
#if defined(Q_OS_WASM)
    // Qt 6.4's WebAssembly plugin sees none of the browser's fonts and has no fontconfig, and a
    // Chromebook has no Times New Roman anyway: the program brings its metric twin with it and
    // maps the name to it itself, once. Not a stopgap: a newer Qt would still need the twin.
    static const bool twinLoaded = [] {
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSerif-Regular.ttf"));
        QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                                  QStringLiteral("Liberation Serif"));
        return true;
    }();
    Q_UNUSED(twinLoaded);
#endif
    // Where Times New Roman is missing, fontconfig maps it to its metric twin with Cyrillic.
    QFont font(QStringLiteral("Times New Roman"), kFontPoints);
    // Plain Cyrillic and Latin need no shaping; skipping it also leaves out kerning, as
    // the desktop this window was designed on did.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}
