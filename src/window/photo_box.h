// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

// A fixed picture inside a sunken 2-pixel border, the widget sized to fit the two. Beside
// the picture, "name@2x" and "name@3x" variants serve high-resolution screens; only the one
// the screen needs is decoded, when it is first painted.
class PhotoBox : public QWidget
{
    Q_OBJECT

public:
    // resource: the 1x picture, e.g. ":/photo.jpg"; size: its size in pixels.
    PhotoBox(const QString& resource, QSize size, QWidget* parent = nullptr);

    // The picture as last painted, at the device pixel ratio it was painted at.
    const QImage& photo() const { return photo_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void loadFor(qreal devicePixelRatio);

    QString resource_;
    QSize size_;
    QImage photo_;
};
