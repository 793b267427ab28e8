// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divider.h"
#include "pip_layouts.h"
#include "recording_surface.h"

#include <QTest>
#include <limits>

namespace {

// "x y; x y; ..." in drawing order, as the worked tables write the dots.
QStringList dots(const QString& list)
{
    QStringList calls;
    for (const QString& dot : list.split(';', Qt::SkipEmptyParts))
        calls << "dot " + dot.trimmed();
    return calls;
}

} // namespace

class TestDrawingRoutines : public QObject
{
    Q_OBJECT

private slots:
    void upperPipsOnTheLaidOutTile_data();
    void upperPipsOnTheLaidOutTile();
    void lowerPipsOnTheLaidOutTile_data();
    void lowerPipsOnTheLaidOutTile();
    void offsetsStayFixedOnAnotherSize_data();
    void offsetsStayFixedOnAnotherSize();
    void upperCountsWithoutLayoutDrawNothing_data();
    void upperCountsWithoutLayoutDrawNothing();
    void lowerCountsWithoutLayoutDrawNothing_data();
    void lowerCountsWithoutLayoutDrawNothing();
    void divider_data();
    void divider();
    void dividerAfterPipsIsThinAgain();
};

// These positions are what pupils see on every tile; they are deliberately not symmetric
// and must not be "tidied": each value below is pinned.
void TestDrawingRoutines::upperPipsOnTheLaidOutTile_data()
{
    QTest::addColumn<double>("count");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("0") << 0.0 << dots("");
    QTest::newRow("1") << 1.0 << dots("600 600");
    QTest::newRow("2") << 2.0 << dots("1000 200; 100 1000");
    QTest::newRow("3") << 3.0 << dots("550 600; 1000 200; 100 1000");
    QTest::newRow("4") << 4.0 << dots("200 200; 900 200; 200 1000; 900 1000");
    QTest::newRow("5") << 5.0 << dots("550 600; 200 200; 900 200; 200 1000; 900 1000");
    QTest::newRow("6") << 6.0 << dots("200 200; 900 200; 200 600; 900 600; 200 1000; 900 1000");
}

void TestDrawingRoutines::upperPipsOnTheLaidOutTile()
{
    QFETCH(double, count);
    QFETCH(QStringList, expected);

    RecordingSurface surface(1200, 2400);
    DrawUpperPips(surface, count);
    QCOMPARE(surface.calls, QStringList("pen 15") + expected);
}

void TestDrawingRoutines::lowerPipsOnTheLaidOutTile_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("0") << 0 << dots("");
    QTest::newRow("1") << 1 << dots("600 1800");
    QTest::newRow("2") << 2 << dots("1000 1400; 100 2200");
    QTest::newRow("3") << 3 << dots("550 1800; 1000 1400; 100 2200");
    QTest::newRow("4") << 4 << dots("900 1400; 200 1400; 900 2200; 200 2200");
    QTest::newRow("5") << 5 << dots("600 1800; 900 1400; 200 1400; 900 2200; 200 2200");
    QTest::newRow("6") << 6 << dots("900 1400; 200 1400; 900 1800; 200 1800; 900 2200; 200 2200");
}

void TestDrawingRoutines::lowerPipsOnTheLaidOutTile()
{
    QFETCH(int, count);
    QFETCH(QStringList, expected);

    RecordingSurface surface(1200, 2400);
    DrawLowerPips(surface, std::int16_t(count));
    QCOMPARE(surface.calls, QStringList("pen 15") + expected);
}

void TestDrawingRoutines::offsetsStayFixedOnAnotherSize_data()
{
    QTest::addColumn<bool>("upper");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected");

    // W = 1500, H = 3000, h = 1500: the terms in W and h move, 100/200/300 do not.
    QTest::newRow("upper 1") << true << 1 << dots("750 750");
    QTest::newRow("upper 3") << true << 3 << dots("700 750; 1300 200; 100 1300");
    QTest::newRow("upper 6") << true << 6
                             << dots("200 200; 1200 200; 200 750; 1200 750; 200 1300; 1200 1300");
    QTest::newRow("lower 2") << false << 2 << dots("1300 1700; 100 2800");
    QTest::newRow("lower 5") << false << 5
                             << dots("750 2250; 1200 1700; 200 1700; 1200 2800; 200 2800");
    QTest::newRow("lower 6")
        << false << 6 << dots("1200 1700; 200 1700; 1200 2250; 200 2250; 1200 2800; 200 2800");
}

void TestDrawingRoutines::offsetsStayFixedOnAnotherSize()
{
    QFETCH(bool, upper);
    QFETCH(int, count);
    QFETCH(QStringList, expected);

    RecordingSurface surface(1500, 3000);
    if (upper)
        DrawUpperPips(surface, count);
    else
        DrawLowerPips(surface, std::int16_t(count));
    QCOMPARE(surface.calls, QStringList("pen 15") + expected);
}

void TestDrawingRoutines::upperCountsWithoutLayoutDrawNothing_data()
{
    QTest::addColumn<double>("count");

    QTest::newRow("negative") << -1.0;
    QTest::newRow("negative zero") << -0.0;
    QTest::newRow("7") << 7.0;
    QTest::newRow("fraction") << 2.5;
    QTest::newRow("just above 1") << std::nextafter(1.0, 2.0);
    QTest::newRow("huge") << 1e300;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
}

void TestDrawingRoutines::upperCountsWithoutLayoutDrawNothing()
{
    QFETCH(double, count);

    RecordingSurface surface(1200, 2400);
    DrawUpperPips(surface, count);
    QCOMPARE(surface.calls, QStringList("pen 15"));
}

void TestDrawingRoutines::lowerCountsWithoutLayoutDrawNothing_data()
{
    QTest::addColumn<int>("count");

    QTest::newRow("negative") << -1;
    QTest::newRow("7") << 7;
    QTest::newRow("largest") << 32767;
    QTest::newRow("smallest") << -32768;
}

void TestDrawingRoutines::lowerCountsWithoutLayoutDrawNothing()
{
    QFETCH(int, count);

    RecordingSurface surface(1200, 2400);
    DrawLowerPips(surface, std::int16_t(count));
    QCOMPARE(surface.calls, QStringList("pen 15"));
}

void TestDrawingRoutines::divider_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<QString>("line");

    QTest::newRow("laid out") << 1200.f << 2400.f << "line 0 1200 1200 1200";
    QTest::newRow("odd height") << 1200.f << 2401.f << "line 0 1200.5 1200 1200.5";
    QTest::newRow("width rounds half down to even") << 1200.5f << 2400.f << "line 0 1200 1200 1200";
    QTest::newRow("width rounds half up to even") << 1201.5f << 2400.f << "line 0 1200 1202 1200";
    QTest::newRow("width beyond 16 bits") << 1e9f << 2400.f << "line 0 1200 32767 1200";
    QTest::newRow("empty surface") << 0.f << 0.f << "line 0 0 0 0";
}

void TestDrawingRoutines::divider()
{
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(QString, line);

    RecordingSurface surface(width, height);
    DrawDivider(surface);
    QCOMPARE(surface.calls, QStringList({"pen 1", line}));
}

void TestDrawingRoutines::dividerAfterPipsIsThinAgain()
{
    RecordingSurface surface(1200, 2400);
    DrawUpperPips(surface, 6);
    DrawDivider(surface);
    QCOMPARE(surface.DrawWidth(), 1);
    QCOMPARE(surface.calls.last(), "line 0 1200 1200 1200");
}

QTEST_APPLESS_MAIN(TestDrawingRoutines)
#include "tst_drawing_routines.moc"
