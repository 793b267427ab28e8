// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tile_label.h"

#include <QTest>
#include <type_traits>

class TestTileLabels : public QObject
{
    Q_OBJECT

private slots:
    void catalogueIsTheDoubleSixSetInListOrder();
    void readTileHalves_data();
    void readTileHalves();
    void readTileHalvesTypes();
    void mirrorLabel_data();
    void mirrorLabel();
};

void TestTileLabels::catalogueIsTheDoubleSixSetInListOrder()
{
    // The list shows the tiles in exactly this order; pupils find a tile by its position.
    const QStringList expected = QString("0:0 0:1 0:2 0:3 0:4 0:5 0:6 1:1 1:2 1:3 1:4 1:5 1:6 "
                                         "2:2 2:3 2:4 2:5 2:6 3:3 3:4 3:5 3:6 4:4 4:5 4:6 5:5 "
                                         "5:6 6:6")
                                     .split(' ');
    QStringList actual;
    for (const TileLabel& label : BuildTileCatalogue())
        actual << QString::fromStdString(label);
    QCOMPARE(actual, expected);
}

void TestTileLabels::readTileHalves_data()
{
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<double>("upper");
    QTest::addColumn<int>("lower");

    for (const TileLabel& label : BuildTileCatalogue()) {
        QTest::newRow(label.c_str())
            << QByteArray::fromStdString(label) << double(label[0] - '0') << label[2] - '0';
    }
    QTest::newRow("no selection") << QByteArray() << 0.0 << 0;
    QTest::newRow("mirrored 6:0") << QByteArray("6:0") << 6.0 << 0;
    // Beyond what the list ever holds: every text reads without failing.
    QTest::newRow("one character") << QByteArray("5") << 5.0 << 0;
    QTest::newRow("two characters") << QByteArray("5:") << 5.0 << 0;
    QTest::newRow("letters read as 0") << QByteArray("a:b") << 0.0 << 0;
    QTest::newRow("digits above 6") << QByteArray("9:8") << 9.0 << 8;
    QTest::newRow("longer text") << QByteArray("3:45") << 3.0 << 4;
    QTest::newRow("Cyrillic counts as one character") << QByteArray("ж:4") << 0.0 << 4;
    QTest::newRow("four-byte character") << QByteArray("\xF0\x9F\x82\xA3"
                                                       ":2")
                                         << 0.0 << 2;
    QTest::newRow("truncated sequence") << QByteArray("\xD0"
                                                      "2:3")
                                        << 0.0 << 0;
    QTest::newRow("stray continuation byte") << QByteArray("\x80:1") << 0.0 << 1;
    QTest::newRow("full-width digit is no digit") << QByteArray("\xEF\xBC\x93:1") << 0.0 << 1;
}

void TestTileLabels::readTileHalves()
{
    QFETCH(QByteArray, label);
    QFETCH(double, upper);
    QFETCH(int, lower);

    const TileHalves halves = ReadTileHalves(label.toStdString());
    QCOMPARE(halves.upper, upper);
    QCOMPARE(int(halves.lower), lower);
}

void TestTileLabels::readTileHalvesTypes()
{
    // The window keeps the upper count as a double and the lower as a 16-bit integer.
    static_assert(std::is_same_v<decltype(TileHalves::upper), double>);
    static_assert(std::is_same_v<decltype(TileHalves::lower), std::int16_t>);
}

void TestTileLabels::mirrorLabel_data()
{
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QByteArray>("mirrored");

    for (const TileLabel& label : BuildTileCatalogue()) {
        const QByteArray text = QByteArray::fromStdString(label);
        QByteArray reversed = text;
        std::reverse(reversed.begin(), reversed.end());
        QTest::newRow(label.c_str()) << text << reversed;
    }
    QTest::newRow("no selection") << QByteArray() << QByteArray();
    QTest::newRow("mirror of a mirror") << QByteArray("6:0") << QByteArray("0:6");
    QTest::newRow("Cyrillic kept whole") << QByteArray("ж:4") << QByteArray("4:ж");
    QTest::newRow("words") << QByteArray("плочка") << QByteArray("акчолп");
    QTest::newRow("four-byte character") << QByteArray("\xF0\x9F\x82\xA3"
                                                       "1")
                                         << QByteArray("1"
                                                       "\xF0\x9F\x82\xA3");
    // Reversed one by one, these two would become the letter Ё.
    QTest::newRow("neighbouring malformed bytes stay in order")
        << QByteArray("\x81\xD0") << QByteArray("\x81\xD0");
    QTest::newRow("malformed runs around a character")
        << QByteArray("\x81\xD0:\xD0\x81\x81") << QByteArray("\x81\xD0\x81:\x81\xD0");
    QTest::newRow("malformed bytes kept") << QByteArray("\xD0"
                                                        "1\x80")
                                          << QByteArray("\x80"
                                                        "1\xD0");
}

void TestTileLabels::mirrorLabel()
{
    QFETCH(QByteArray, label);
    QFETCH(QByteArray, mirrored);

    QCOMPARE(QByteArray::fromStdString(MirrorLabel(label.toStdString())), mirrored);
    // Turning a tile end to end twice gives it back, whatever its bytes.
    QCOMPARE(QByteArray::fromStdString(MirrorLabel(MirrorLabel(label.toStdString()))), label);
}

QTEST_APPLESS_MAIN(TestTileLabels)
#include "tst_tile_labels.moc"
