// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>

// What the window must show, written out here rather than taken from the program.
namespace expected {

inline const QStringList kTiles =
    QString("0:0 0:1 0:2 0:3 0:4 0:5 0:6 1:1 1:2 1:3 1:4 1:5 1:6 2:2 2:3 "
            "2:4 2:5 2:6 3:3 3:4 3:5 3:6 4:4 4:5 4:6 5:5 5:6 6:6")
        .split(' ');
inline const QByteArray kDescriptionStart = "Играта Домино има над 3000 годишна история.";
inline const QByteArray kPrompt = "Изберете плочка!";

// The report box after a pick, byte for byte.
inline QByteArray reportFor(const QString& label)
{
    const QByteArray picked = label.toUtf8();
    QByteArray mirrored = picked;
    std::reverse(mirrored.begin(), mirrored.end());
    return "От общо: 28 плочки, Вие избрахте плочка: " + picked + "\r\n" +
           (picked == mirrored ? QByteArray("Избраната плочка е симетрична!")
                               : "Плочката може да се разглежда и като: " + mirrored) +
           "\r\n";
}

} // namespace expected
