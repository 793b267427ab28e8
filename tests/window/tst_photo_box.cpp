// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo_box.h"

#include <QScreen>
#include <QTest>
#include <cmath>

// Run at several QT_SCALE_FACTORs: the photograph must be decoded at the screen's own
// resolution (never a 1x picture scaled up), and only that variant.
class TestPhotoBox : public QObject
{
    Q_OBJECT

private slots:
    void paintsTheVariantTheScreenNeeds();
    void borderIsPaintedWhole();
};

void TestPhotoBox::paintsTheVariantTheScreenNeeds()
{
    PhotoBox box(QStringLiteral(":/photo.jpg"), QSize(220, 162));
    QCOMPARE(box.size(), QSize(224, 166));
    QVERIFY(box.photo().isNull()); // nothing decoded before it is shown

    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.repaint();

    const qreal ratio = box.devicePixelRatioF();
    const int variant = std::min(3, int(std::ceil(ratio - 0.01)));
    QCOMPARE(box.photo().devicePixelRatio(), qreal(variant));
    QCOMPARE(box.photo().size(), QSize(220, 162) * variant);
    QCOMPARE(box.photo().deviceIndependentSize(), QSizeF(220, 162));
}

// Two lines of one shade each, every device pixel of them painted: an opaque box that left one
// unpainted would show stale memory there on a high-resolution screen.
void TestPhotoBox::borderIsPaintedWhole()
{
    PhotoBox box(QStringLiteral(":/photo.jpg"), QSize(220, 162));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    // Painted over a colour the box never shows, at the screen's own resolution.
    const qreal ratio = box.devicePixelRatioF();
    QImage screen(int(box.width() * ratio), int(box.height() * ratio), QImage::Format_RGB32);
    screen.setDevicePixelRatio(ratio);
    screen.fill(Qt::magenta);
    box.render(&screen);

    const int band = int(2 * ratio); // device pixels wholly inside the border
    for (int d = 0; d < band; ++d) {
        const bool outer = (d + 0.5) / ratio < 1;
        const QRgb topLeft = box.palette().color(outer ? QPalette::Dark : QPalette::Shadow).rgb();
        const QRgb bottomRight =
            box.palette().color(outer ? QPalette::Light : QPalette::Midlight).rgb();
        for (int t = band; t < screen.height() - band; ++t) {
            QCOMPARE(screen.pixel(d, t), topLeft);
            QCOMPARE(screen.pixel(screen.width() - 1 - d, t), bottomRight);
        }
        for (int t = band; t < screen.width() - band; ++t) {
            QCOMPARE(screen.pixel(t, d), topLeft);
            QCOMPARE(screen.pixel(t, screen.height() - 1 - d), bottomRight);
        }
    }
}

QTEST_MAIN(TestPhotoBox)
#include "tst_photo_box.moc"
