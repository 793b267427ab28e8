// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo_box.h"

#include "bevel.h"

#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kBorder = 2; // the desktop's sunken border
constexpr int kSharpestVariant = 3;

} // namespace

PhotoBox::PhotoBox(const QString& resource, QSize size, QWidget* parent)
    : QWidget(parent), resource_(resource), size_(size)
{
    setFixedSize(size_ + QSize(2 * kBorder, 2 * kBorder));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// The smallest variant at least as sharp as the screen, so it is only ever scaled down.
void PhotoBox::loadFor(qreal devicePixelRatio)
{
    const int variant = std::clamp(int(std::ceil(devicePixelRatio - 0.01)), 1, kSharpestVariant);
    if (!photo_.isNull() && photo_.devicePixelRatio() == variant)
        return;
    QString path = resource_;
    if (variant > 1)
        path.insert(path.lastIndexOf(QLatin1Char('.')), QStringLiteral("@%1x").arg(variant));
    // Decoded as JPEG and nothing else: otherwise Qt loads every image plugin to ask it first.
    QImageReader reader(path, "jpg");
    reader.setAutoDetectImageFormat(false);
    photo_ = reader.read();
    photo_.setDevicePixelRatio(variant);
}

void PhotoBox::paintEvent(QPaintEvent*)
{
    loadFor(devicePixelRatioF());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawSunkenBorder(painter, rect(), palette());
    painter.drawImage(QRect(QPoint(kBorder, kBorder), size_), photo_);
}
