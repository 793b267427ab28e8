// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QPoint>
#include <QStringList>

// The tile a pupil should see, built from first principles rather than from the drawing
// code: the pip centres of expected_pips.json, a 15-pixel dot covering the pixels within 7.5 pixels
// of its centre, and the divider on pixel row 80.
namespace expected {

inline constexpr QSize kTileArea(76, 156);

// The pip centres of one half ("upper" or "lower") for a count, from the table shared with
// the desktop tests.
inline QList<QPoint> pips(const char* half, int count)
{
    static const QJsonObject table = [] {
        QFile file(QStringLiteral(DOMINO_EXPECTED_PIPS));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", DOMINO_EXPECTED_PIPS);
        return QJsonDocument::fromJson(file.readAll()).object();
    }();
    QList<QPoint> centres;
    for (const QJsonValue& centre : table[half][QString::number(count)].toArray())
        centres.append(QPoint(centre[0].toInt(), centre[1].toInt()));
    return centres;
}

inline QList<QPoint> upperPips(int count)
{
    return pips("upper", count);
}

inline QList<QPoint> lowerPips(int count)
{
    return pips("lower", count);
}

// Dots of 15 pixels at the given centres, and the divider if asked for.
inline QImage picture(const QList<QPoint>& dots, bool divider, QColor ink, QColor face)
{
    QImage image(kTileArea, QImage::Format_RGB32);
    image.fill(face);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            bool inked = divider && y == 80;
            for (const QPoint& dot : dots) {
                const int dx = x - dot.x();
                const int dy = y - dot.y();
                inked = inked || dx * dx + dy * dy <= 56; // 7.5 squared is 56.25
            }
            if (inked)
                image.setPixelColor(x, y, ink);
        }
    }
    return image;
}

inline QImage tileArea(int upper, int lower, QColor ink, QColor face)
{
    return picture(upperPips(upper) + lowerPips(lower), true, ink, face);
}

// The first few pixels where two pictures differ, for a readable failure; empty when equal.
inline QString differences(const QImage& actual, const QImage& wanted)
{
    if (actual.size() != wanted.size())
        return QString("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(wanted.width())
            .arg(wanted.height());
    QStringList where;
    for (int y = 0; y < actual.height() && where.size() < 8; ++y) {
        for (int x = 0; x < actual.width() && where.size() < 8; ++x) {
            if (actual.pixel(x, y) != wanted.pixel(x, y))
                where << QString("%1,%2").arg(x).arg(y);
        }
    }
    return where.join(' ');
}

} // namespace expected
