// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divider.h"
#include "expected_tile.h"
#include "picture_box.h"
#include "pip_layouts.h"
#include "raster_tile_surface.h"

#include <QTest>
#include <limits>

namespace {

const QColor kInk(Qt::black);
const QColor kFace(0xF0, 0xF0, 0xF0);
constexpr QSize kArea = expected::kTileArea; // 80 by 160 pixels less a 2-pixel border

QImage expectedTile(const QList<QPoint>& dots, bool divider = true)
{
    return expected::picture(dots, divider, kInk, kFace);
}

using expected::differences;

QImage scaledByTwo(const QImage& image)
{
    QImage scaled = image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaled.setDevicePixelRatio(2);
    return scaled;
}

RasterTileSurface laidOutTile(double ratio = 1)
{
    return RasterTileSurface(1200, 2400, toRgb(kInk), toRgb(kFace), ratio);
}

} // namespace

class TestRasterTileSurface : public QObject
{
    Q_OBJECT

private slots:
    void sizes();
    void dividerRowIsClippedAtTheRightEdge();
    void tiles_data();
    void tiles();
    void dotIsFifteenPixelsAcrossItsMiddle();
    void dotsAreClippedAtTheEdges();
    void clsLeavesTheBareFace();
    void drawingTwiceLeavesTheSamePicture();
    void ratioTwoIsTheSamePictureScaledByTwo_data();
    void ratioTwoIsTheSamePictureScaledByTwo();
    void ratioTwoDotsAreRoundAtDoubleResolution();
    void changingRatioOrColoursKeepsTheDrawing();
    void farOutAndInvalidCoordinates();
};

void TestRasterTileSurface::sizes()
{
    const RasterTileSurface tile = laidOutTile();
    QCOMPARE(tile.Width(), 1200.f);
    QCOMPARE(tile.Height(), 2400.f);
    QCOMPARE(QSize(tile.areaSize().width, tile.areaSize().height), kArea);
    QCOMPARE(imageOver(tile).size(), kArea);

    const RasterTileSurface sharp = laidOutTile(2);
    QCOMPARE(QSize(sharp.areaSize().width, sharp.areaSize().height), kArea);
    QCOMPARE(imageOver(sharp).size(), kArea * 2);
    QCOMPARE(imageOver(sharp).devicePixelRatio(), 2.0);

    QCOMPARE(imageOver(laidOutTile(1.5)).size(), QSize(114, 234));
}

void TestRasterTileSurface::dividerRowIsClippedAtTheRightEdge()
{
    RasterTileSurface tile = laidOutTile();
    DrawDivider(tile);
    // The line is measured from the outer size: it lands 2 pixels below the middle of the
    // drawing area and runs past its right edge, where it is cut off.
    QCOMPARE(differences(imageOver(tile), expectedTile({})), QString());
}

void TestRasterTileSurface::tiles_data()
{
    QTest::addColumn<int>("upper");
    QTest::addColumn<int>("lower");

    // Every pairing of the two halves, mirrored tiles included.
    for (int upper = 0; upper <= 6; ++upper) {
        for (int lower = 0; lower <= 6; ++lower)
            QTest::addRow("%d:%d", upper, lower) << upper << lower;
    }
}

void TestRasterTileSurface::tiles()
{
    QFETCH(int, upper);
    QFETCH(int, lower);

    RasterTileSurface tile = laidOutTile();
    DrawDivider(tile);
    DrawUpperPips(tile, upper);
    DrawLowerPips(tile, std::int16_t(lower));
    QCOMPARE(differences(imageOver(tile), expected::tileArea(upper, lower, kInk, kFace)),
             QString());
}

void TestRasterTileSurface::dotIsFifteenPixelsAcrossItsMiddle()
{
    RasterTileSurface tile = laidOutTile();
    tile.SetDrawWidth(15);
    tile.PSet(550, 600);
    const QImage image = imageOver(tile);
    const auto inkRun = [&](auto pixelAt) {
        int run = 0;
        for (int i = -10; i <= 10; ++i)
            run += pixelAt(i) == kInk.rgb();
        return run;
    };
    QCOMPARE(inkRun([&](int i) { return image.pixel(37 + i, 40); }), 15);
    QCOMPARE(inkRun([&](int i) { return image.pixel(37, 40 + i); }), 15);
    // Round, not square: the rows 7 away from the centre are only 5 pixels wide.
    QCOMPARE(inkRun([&](int i) { return image.pixel(37 + i, 47); }), 5);
    QCOMPARE(image.pixel(37 + 6, 40 + 6), kFace.rgb());
}

void TestRasterTileSurface::dotsAreClippedAtTheEdges()
{
    RasterTileSurface tile = laidOutTile();
    tile.SetDrawWidth(15);
    tile.PSet(0, 0);
    tile.PSet(1140, 2340); // the far corner pixel (76, 156) lies just outside the area
    QCOMPARE(differences(imageOver(tile), expectedTile({{0, 0}, {76, 156}}, false)), QString());
}

void TestRasterTileSurface::clsLeavesTheBareFace()
{
    RasterTileSurface tile = laidOutTile();
    DrawDivider(tile);
    DrawUpperPips(tile, 6);
    tile.Cls();
    QImage bare(kArea, QImage::Format_RGB32);
    bare.fill(kFace);
    QCOMPARE(differences(imageOver(tile), bare), QString());
    QCOMPARE(tile.DrawWidth(), 15); // Cls erases the picture, not the pen
}

void TestRasterTileSurface::drawingTwiceLeavesTheSamePicture()
{
    RasterTileSurface tile = laidOutTile();
    DrawDivider(tile);
    DrawDivider(tile);
    QCOMPARE(differences(imageOver(tile), expectedTile({})), QString());
}

void TestRasterTileSurface::ratioTwoIsTheSamePictureScaledByTwo_data()
{
    QTest::addColumn<int>("upper");
    QTest::addColumn<int>("lower");
    for (int pips = 0; pips <= 6; ++pips)
        QTest::addRow("%d:%d", pips, 6 - pips) << pips << 6 - pips;
}

void TestRasterTileSurface::ratioTwoIsTheSamePictureScaledByTwo()
{
    QFETCH(int, upper);
    QFETCH(int, lower);

    RasterTileSurface plain = laidOutTile(1);
    RasterTileSurface sharp = laidOutTile(2);
    for (RasterTileSurface* tile : {&plain, &sharp}) {
        DrawDivider(*tile);
        DrawUpperPips(*tile, upper);
        DrawLowerPips(*tile, std::int16_t(lower));
    }
    // Same geometry at twice the resolution: the two agree everywhere except on a dot's rim,
    // where the sharper picture follows the circle more closely.
    const QImage scaled = scaledByTwo(imageOver(plain));
    const QImage image = imageOver(sharp);
    QCOMPARE(image.size(), scaled.size());
    int rim = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            rim += image.pixel(x, y) != scaled.pixel(x, y);
    }
    // Each dot's rim at double resolution differs in at most a few dozen device pixels.
    QVERIFY2(rim <= 40 * (upper + lower), qPrintable(QString::number(rim)));
    // The divider is exactly two device rows, across the whole width.
    for (int x = 0; x < image.width(); ++x) {
        QCOMPARE(image.pixel(x, 160), kInk.rgb());
        QCOMPARE(image.pixel(x, 161), kInk.rgb());
    }
}

void TestRasterTileSurface::ratioTwoDotsAreRoundAtDoubleResolution()
{
    RasterTileSurface tile = laidOutTile(2);
    tile.SetDrawWidth(15);
    tile.PSet(550, 600); // centre of pixel (37, 40): device point (75, 81)
    const QImage image = imageOver(tile);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double dx = x + 0.5 - 75;
            const double dy = y + 0.5 - 81;
            const bool inside = dx * dx + dy * dy <= 15 * 15;
            QCOMPARE(image.pixel(x, y) == kInk.rgb(), inside);
        }
    }
    int across = 0;
    for (int x = 0; x < image.width(); ++x)
        across += image.pixel(x, 80) == kInk.rgb();
    QCOMPARE(across, 30);
}

void TestRasterTileSurface::changingRatioOrColoursKeepsTheDrawing()
{
    RasterTileSurface direct = laidOutTile(2);
    RasterTileSurface moved = laidOutTile(1);
    for (RasterTileSurface* tile : {&direct, &moved}) {
        DrawDivider(*tile);
        DrawUpperPips(*tile, 3);
    }
    moved.setDevicePixelRatio(2);
    QCOMPARE(differences(imageOver(moved), imageOver(direct)), QString());
    QCOMPARE(imageOver(moved).devicePixelRatio(), 2.0);

    moved.setColors(toRgb(Qt::white), toRgb(Qt::darkBlue));
    QCOMPARE(imageOver(moved).pixelColor(0, 160), QColor(Qt::white));
    QCOMPARE(imageOver(moved).pixelColor(0, 0), QColor(Qt::darkBlue));
}

void TestRasterTileSurface::farOutAndInvalidCoordinates()
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();

    RasterTileSurface tile = laidOutTile();
    tile.Line(-1e30f, 1200, 1e30f, 1200); // finishes at once, and only the visible part shows
    tile.SetDrawWidth(15);
    tile.PSet(nan, 600);
    tile.PSet(600, inf);
    tile.PSet(-1e30f, 1e30f);
    tile.Line(nan, 0, 600, 600);
    tile.SetDrawWidth(0);
    QCOMPARE(tile.DrawWidth(), 1);
    tile.SetDrawWidth(std::numeric_limits<int>::max());
    QCOMPARE(tile.DrawWidth(), RasterTileSurface::kWidestPen);
    tile.SetDrawWidth(1);
    QCOMPARE(differences(imageOver(tile), expectedTile({})), QString());

    // Ends so far out that the walk's bounds would not fit in a whole number: nothing drawn.
    tile.Line(-1.5e13f, -3e10f, 1.5e13f, -3e10f + 2048);
    QCOMPARE(differences(imageOver(tile), expectedTile({})), QString());

    // The widest pen along a long line covers everything, and finishes.
    tile.SetDrawWidth(std::numeric_limits<int>::max());
    tile.Line(0, 0, 1.5e7f, 0);
    QImage ink(kArea, QImage::Format_RGB32);
    ink.fill(kInk);
    QCOMPARE(differences(imageOver(tile), ink), QString());

    // A surface too small for a drawing area has nothing to draw on, and does not fail.
    RasterTileSurface tiny(30, 30, toRgb(kInk), toRgb(kFace));
    DrawDivider(tiny);
    DrawUpperPips(tiny, 6);
    QVERIFY(imageOver(tiny).isNull() || imageOver(tiny).size().isEmpty());
}

QTEST_APPLESS_MAIN(TestRasterTileSurface)
#include "tst_raster_tile_surface.moc"
