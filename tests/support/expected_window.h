// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <algorithm>

// What the window must show, from expected_window.json, which the desktop tests read too,
// rather than from the program.
namespace expected {

inline const QJsonObject& window()
{
    static const QJsonObject table = [] {
        QFile file(QStringLiteral(DOMINO_EXPECTED_WINDOW));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", DOMINO_EXPECTED_WINDOW);
        return QJsonDocument::fromJson(file.readAll()).object();
    }();
    return table;
}

inline QByteArray text(const char* key)
{
    return window()[key].toString().toUtf8();
}

// What each key does in the list: rows of name, start, key, expected, pages, clicks.
inline QJsonArray listKeys()
{
    QFile file(QStringLiteral(DOMINO_LIST_KEYS));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", DOMINO_LIST_KEYS);
    return QJsonDocument::fromJson(file.readAll()).object()["keys"].toArray();
}

inline const QStringList kTiles = window()["tiles"].toString().split(' ');
inline const QByteArray kDescriptionStart = text("description_start");
inline const QByteArray kPrompt = text("prompt");

// The report box after a pick, byte for byte.
inline QByteArray reportFor(const QString& label)
{
    const QByteArray picked = label.toUtf8();
    QByteArray mirrored = picked;
    std::reverse(mirrored.begin(), mirrored.end());
    const QJsonArray lines = window()["report"].toArray();
    QString second = picked == mirrored ? lines[1].toString() : lines[2].toString();
    return lines[0].toString().replace("{label}", label).toUtf8() + "\r\n" +
           second.replace("{mirrored}", QString::fromUtf8(mirrored)).toUtf8() + "\r\n";
}

} // namespace expected
