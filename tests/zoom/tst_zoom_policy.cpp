// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zoom_policy.h"
#include "zoom_steps.h"

#include <QSize>
#include <QTest>

// Which step the window may take, without a window: the rule the desktop's zoom and the
// page both follow.
class TestZoomPolicy : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void stepFits_data();
    void stepFits();
    void largestFittingStep_data();
    void largestFittingStep();
    void readPercent_data();
    void readPercent();
};

void TestZoomPolicy::steps_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");

    QTest::newRow("75, the smallest") << 75 << 100 << 75;
    QTest::newRow("100") << 100 << 125 << 75;
    QTest::newRow("150") << 150 << 200 << 125;
    QTest::newRow("300, the largest") << 300 << 300 << 250;
}

void TestZoomPolicy::steps()
{
    QFETCH(int, from);
    QFETCH(int, next);
    QFETCH(int, previous);
    QCOMPARE(NextZoomStep(from), next);
    QCOMPARE(PreviousZoomStep(from), previous);
}

void TestZoomPolicy::stepFits_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("current");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QSize>("available");
    QTest::addColumn<bool>("fits");

    // The 461 x 345 window in a frame of 10 x 30 pixels, which does not grow with it.
    QTest::newRow("150 on 800 x 800") << 150 << 100 << QSize(471, 375) << QSize(800, 800) << true;
    QTest::newRow("200 on 800 x 800") << 200 << 100 << QSize(471, 375) << QSize(800, 800) << false;
    QTest::newRow("exactly the width") << 150 << 100 << QSize(471, 375) << QSize(702, 800) << true;
    QTest::newRow("a pixel short") << 150 << 100 << QSize(471, 375) << QSize(701, 800) << false;
    QTest::newRow("the frame does not grow")
        << 200 << 100 << QSize(471, 375) << QSize(932, 720) << true;
    // Shown at 200 %, the window's units are half the screen's pixels: the frame is 5 x 15.
    QTest::newRow("from 200 to 300") << 300 << 200 << QSize(466, 360) << QSize(700, 540) << true;
    QTest::newRow("above the ceiling")
        << 400 << 100 << QSize(471, 375) << QSize(9000, 9000) << false;
}

// The rule the desktop's zoom and the page's style sheet both follow.
void TestZoomPolicy::stepFits()
{
    QFETCH(int, percent);
    QFETCH(int, current);
    QFETCH(QSize, outer);
    QFETCH(QSize, available);
    QFETCH(bool, fits);
    QCOMPARE(ZoomStepFits(percent, current, kZoomSteps.back(), {461, 345},
                          {outer.width(), outer.height()}, {available.width(), available.height()}),
             fits);
}

void TestZoomPolicy::largestFittingStep_data()
{
    QTest::addColumn<QSize>("viewport");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("step");

    // The page's window, frame and title bar included, is 465 x 373 at 100 %.
    QTest::newRow("phone upright") << QSize(360, 740) << 3.0 << 75;
    QTest::newRow("phone on its side") << QSize(740, 360) << 3.0 << 75;
    QTest::newRow("tablet") << QSize(768, 1024) << 2.0 << 150;
    QTest::newRow("full-HD projector") << QSize(1920, 950) << 1.0 << 250;
    QTest::newRow("Lighthouse's phone") << QSize(412, 823) << 1.75 << 75;
    QTest::newRow("a tablet of 4/3") << QSize(400, 900) << 4 / 3.0 << 75;
    QTest::newRow("too small, and no finer step") << QSize(300, 300) << 1.0 << 100;
    QTest::newRow("zoomed out to half") << QSize(2000, 2000) << 0.5 << 300;
    QTest::newRow("half, and small") << QSize(200, 200) << 0.5 << 200;
}

void TestZoomPolicy::largestFittingStep()
{
    QFETCH(QSize, viewport);
    QFETCH(double, ratio);
    QFETCH(int, step);
    QCOMPARE(LargestFittingZoomStep({465, 373}, {viewport.width(), viewport.height()}, ratio,
                                    kZoomSteps.back()),
             step);
}

void TestZoomPolicy::readPercent_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("percent"); // 0: refused

    QTest::newRow("a step") << "250" << 250;
    QTest::newRow("with a per cent sign") << "75%" << 75;
    QTest::newRow("between steps") << "110" << 0;
    QTest::newRow("below the steps") << "50" << 0;
    QTest::newRow("above the steps") << "400" << 0;
    QTest::newRow("negative") << "-100" << 0;
    QTest::newRow("trailing garbage") << "200x" << 0;
    QTest::newRow("words") << "голям" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestZoomPolicy::readPercent()
{
    QFETCH(QString, text);
    QFETCH(int, percent);
    QCOMPARE(ReadZoomPercent(text.toStdString()).value_or(0), percent);
}

QTEST_APPLESS_MAIN(TestZoomPolicy)
#include "tst_zoom_policy.moc"
