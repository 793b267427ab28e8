// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_report.h"
#include "tile_description.h"
#include "tile_label.h"

#include <QTest>

class TestSelectionReport : public QObject
{
    Q_OBJECT

private slots:
    void report_data();
    void report();
    void everyTileGetsItsSecondLine_data();
    void everyTileGetsItsSecondLine();
    void whatScreenReadersSay_data();
    void whatScreenReadersSay();
};

void TestSelectionReport::report_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("2:5") << 28 << QByteArray("2:5")
                         << QByteArray("От общо: 28 плочки, Вие избрахте плочка: 2:5\r\n"
                                       "Плочката може да се разглежда и като: 5:2\r\n");
    QTest::newRow("3:3") << 28 << QByteArray("3:3")
                         << QByteArray("От общо: 28 плочки, Вие избрахте плочка: 3:3\r\n"
                                       "Избраната плочка е симетрична!\r\n");
    QTest::newRow("0:6") << 28 << QByteArray("0:6")
                         << QByteArray("От общо: 28 плочки, Вие избрахте плочка: 0:6\r\n"
                                       "Плочката може да се разглежда и като: 6:0\r\n");
    // No selection: the empty text is its own mirror, so the symmetric line follows.
    QTest::newRow("no selection") << 28 << QByteArray()
                                  << QByteArray("От общо: 28 плочки, Вие избрахте плочка: \r\n"
                                                "Избраната плочка е симетрична!\r\n");
    QTest::newRow("count without leading zeros")
        << 7 << QByteArray("0:0")
        << QByteArray("От общо: 7 плочки, Вие избрахте плочка: 0:0\r\n"
                      "Избраната плочка е симетрична!\r\n");
    QTest::newRow("largest count")
        << 32767 << QByteArray("1:2")
        << QByteArray("От общо: 32767 плочки, Вие избрахте плочка: 1:2\r\n"
                      "Плочката може да се разглежда и като: 2:1\r\n");
}

void TestSelectionReport::report()
{
    QFETCH(int, count);
    QFETCH(QByteArray, label);
    QFETCH(QByteArray, expected);

    const std::string report = BuildSelectionReport(std::int16_t(count), label.toStdString());
    QCOMPARE(QByteArray::fromStdString(report), expected);
}

void TestSelectionReport::everyTileGetsItsSecondLine_data()
{
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QByteArray>("secondLine");

    for (const TileLabel& label : BuildTileCatalogue()) {
        const bool isDouble = label[0] == label[2];
        const QByteArray second = isDouble ? QByteArray("Избраната плочка е симетрична!\r\n")
                                           : QByteArray("Плочката може да се разглежда и като: ") +
                                                 label[2] + ':' + label[0] + "\r\n";
        QTest::newRow(label.c_str()) << QByteArray::fromStdString(label) << second;
    }
}

void TestSelectionReport::everyTileGetsItsSecondLine()
{
    QFETCH(QByteArray, label);
    QFETCH(QByteArray, secondLine);

    const QByteArray report =
        QByteArray::fromStdString(BuildSelectionReport(28, label.toStdString()));
    const QByteArray firstLine = "От общо: 28 плочки, Вие избрахте плочка: " + label + "\r\n";
    QCOMPARE(report, firstLine + secondLine);
    QCOMPARE(QByteArray::fromStdString(BuildSymmetryLine(label.toStdString())) + "\r\n",
             secondLine);
}

void TestSelectionReport::whatScreenReadersSay_data()
{
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QByteArray>("row");
    QTest::addColumn<QByteArray>("tile");

    QTest::newRow("2:5") << QByteArray("2:5")
                         << QByteArray("2 точки в горната половина и 5 точки в долната. "
                                       "Плочката може да се разглежда и като: 5:2")
                         << QByteArray("Плочка 2:5: 2 точки в горната половина и 5 точки в "
                                       "долната.");
    QTest::newRow("1:1, one pip each") << QByteArray("1:1")
                                       << QByteArray("1 точка в горната половина и 1 точка в "
                                                     "долната. Избраната плочка е симетрична!")
                                       << QByteArray("Плочка 1:1: 1 точка в горната половина и "
                                                     "1 точка в долната.");
    QTest::newRow("0:6") << QByteArray("0:6")
                         << QByteArray("0 точки в горната половина и 6 точки в долната. "
                                       "Плочката може да се разглежда и като: 6:0")
                         << QByteArray("Плочка 0:6: 0 точки в горната половина и 6 точки в "
                                       "долната.");
    // A label holding a placeholder of the texts is said as it is, not filled in again.
    QTest::newRow("%2 as a label") << QByteArray("%2")
                                   << QByteArray("0 точки в горната половина и 0 точки в "
                                                 "долната. Плочката може да се разглежда и "
                                                 "като: 2%")
                                   << QByteArray("Плочка %2: 0 точки в горната половина и 0 "
                                                 "точки в долната.");
    QTest::newRow("nothing picked")
        << QByteArray() << QByteArray() << QByteArray("Не е избрана плочка.");
}

// What the window's rows and drawing say, and the page's too, which take it from here.
void TestSelectionReport::whatScreenReadersSay()
{
    QFETCH(QByteArray, label);
    QFETCH(QByteArray, row);
    QFETCH(QByteArray, tile);

    if (!label.isEmpty())
        QCOMPARE(QByteArray::fromStdString(DescribeRow(label.toStdString())), row);
    QCOMPARE(QByteArray::fromStdString(DescribeTile(label.toStdString())), tile);
}

QTEST_APPLESS_MAIN(TestSelectionReport)
#include "tst_selection_report.moc"
