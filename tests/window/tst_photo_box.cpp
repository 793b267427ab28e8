// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo_box.h"

#include <QTest>
#include <cmath>

// Run at several QT_SCALE_FACTORs: the photograph must be decoded at the screen's own
// resolution (never a 1x picture scaled up), and only that variant.
class TestPhotoBox : public QObject
{
    Q_OBJECT

private slots:
    void paintsTheVariantTheScreenNeeds();
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

QTEST_MAIN(TestPhotoBox)
#include "tst_photo_box.moc"
