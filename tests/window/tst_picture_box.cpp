// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "expected_tile.h"
#include "picture_box.h"

#include <QScreen>
#include <QTest>
#include <functional>
#include <memory>

using Drawing = std::function<void(PictureBox&)>;
Q_DECLARE_METATYPE(Drawing)

namespace {

constexpr QSize kOuter(80, 160);
const QRect kArea(2, 2, 76, 156); // inside the 2-pixel border

using expected::differences;

QImage filled(const QColor& colour)
{
    QImage image(kArea.size(), QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

int pixelsOf(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    }
    return count;
}

void drawSomething(PictureBox& box)
{
    box.Line(0, 1200, 1200, 1200);
    box.SetDrawWidth(15);
    box.PSet(600, 600);
}

} // namespace

class TestPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sizes();
    void screenFollowsTheDrawing_data();
    void screenFollowsTheDrawing();
    void drawingSurvivesRepainting_data();
    void drawingSurvivesRepainting();
    void autoRedrawOffShowsTheBareFace();
    void coloursFollowThePalette();

private:
    // What the window shows now, from its backing store: only what was actually repainted.
    QImage onScreen() const;
    QImage areaOnScreen() const { return onScreen().copy(kArea); }
    QColor ink() const { return box_->palette().color(QPalette::ButtonText); }
    QColor face() const { return box_->palette().color(QPalette::Button); }

    std::unique_ptr<QWidget> host_;
    PictureBox* box_ = nullptr;
};

void TestPictureBox::init()
{
    host_ = std::make_unique<QWidget>();
    box_ = new PictureBox(1200, 2400, host_.get());
    box_->move(10, 10);
    host_->resize(100, 180);
    host_->show();
    QVERIFY(QTest::qWaitForWindowExposed(host_.get()));
    QCOMPARE(box_->devicePixelRatio(), 1);
}

void TestPictureBox::cleanup()
{
    host_.reset();
}

QImage TestPictureBox::onScreen() const
{
    QCoreApplication::processEvents(); // the pending repaint, if any
    const QPoint corner = box_->mapTo(host_.get(), QPoint(0, 0));
    return host_->screen()
        ->grabWindow(host_->winId(), corner.x(), corner.y(), box_->width(), box_->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The tile's drawing routines work in twips on a box designed as 1200 by 2400 of them.
void TestPictureBox::sizes()
{
    QCOMPARE(box_->size(), kOuter);
    QCOMPARE(box_->minimumSize(), kOuter);
    QCOMPARE(box_->maximumSize(), kOuter);
    QCOMPARE(box_->Width(), 1200.f);
    QCOMPARE(box_->Height(), 2400.f);
    QCOMPARE(box_->image().size(), kArea.size());
    QCOMPARE(onScreen().size(), kOuter);
}

// Whatever is drawn must reach the screen at once, inside an untouched sunken border.
void TestPictureBox::screenFollowsTheDrawing_data()
{
    QTest::addColumn<Drawing>("draw");
    QTest::addColumn<bool>("inked");

    QTest::newRow("nothing") << Drawing([](PictureBox&) {}) << false;
    QTest::newRow("point") << Drawing([](PictureBox& box) { box.PSet(600, 600); }) << true;
    QTest::newRow("line") << Drawing([](PictureBox& box) { box.Line(0, 1200, 1200, 1200); })
                          << true;
    QTest::newRow("thick dot") << Drawing([](PictureBox& box) {
        box.SetDrawWidth(15);
        box.PSet(550, 600);
    }) << true;
    QTest::newRow("drawing, then Cls") << Drawing([](PictureBox& box) {
        drawSomething(box);
        QCoreApplication::processEvents();
        box.Cls();
    }) << false;
    QTest::newRow("Cls, then drawing") << Drawing([](PictureBox& box) {
        drawSomething(box);
        box.Cls();
        QCoreApplication::processEvents();
        box.Line(0, 1200, 1200, 1200);
    }) << true;
}

void TestPictureBox::screenFollowsTheDrawing()
{
    QFETCH(Drawing, draw);
    QFETCH(bool, inked);

    QCOMPARE(differences(areaOnScreen(), filled(face())), QString());
    draw(*box_);
    const QImage screen = onScreen();
    QCOMPARE(differences(screen.copy(kArea), box_->image()), QString());
    QCOMPARE(pixelsOf(box_->image(), ink()) > 0, inked);
    QCOMPARE(pixelsOf(box_->image(), ink()) + pixelsOf(box_->image(), face()),
             kArea.width() * kArea.height());

    // A sunken border two pixels wide, shaded darker at the top left than at the bottom right.
    for (int i = 0; i < 2; ++i) {
        const QColor topLeft = screen.pixelColor(i, i);
        const QColor bottomRight =
            screen.pixelColor(kOuter.width() - 1 - i, kOuter.height() - 1 - i);
        QVERIFY(topLeft != face());
        QVERIFY(topLeft.lightness() < bottomRight.lightness());
        for (int t = i; t < kOuter.width() - i; ++t)
            QCOMPARE(screen.pixelColor(t, i), t == kOuter.width() - 1 - i ? bottomRight : topLeft);
        for (int t = i; t < kOuter.height() - i; ++t)
            QCOMPARE(screen.pixelColor(i, t), t == kOuter.height() - 1 - i ? bottomRight : topLeft);
    }
}

// The tile must stay on show when the window is covered, hidden or repainted.
void TestPictureBox::drawingSurvivesRepainting_data()
{
    QTest::addColumn<int>("how");

    QTest::newRow("repaint") << 0;
    QTest::newRow("hide and show") << 1;
    QTest::newRow("update of the whole window") << 2;
}

void TestPictureBox::drawingSurvivesRepainting()
{
    QFETCH(int, how);

    drawSomething(*box_);
    const QImage before = onScreen();
    QVERIFY(pixelsOf(before.copy(kArea), ink()) > 0);

    switch (how) {
    case 0:
        box_->repaint();
        break;
    case 1:
        host_->hide();
        host_->show();
        QVERIFY(QTest::qWaitForWindowExposed(host_.get()));
        break;
    default:
        host_->update();
        break;
    }
    QCOMPARE(differences(onScreen(), before), QString());
}

// With AutoRedraw off the box forgets its picture at the next repaint; turned back on, what
// was drawn comes back.
void TestPictureBox::autoRedrawOffShowsTheBareFace()
{
    QVERIFY(box_->AutoRedraw());
    drawSomething(*box_);
    const QImage drawn = box_->image();

    box_->SetAutoRedraw(false);
    QVERIFY(!box_->AutoRedraw());
    box_->repaint();
    QCOMPARE(differences(areaOnScreen(), filled(face())), QString());

    box_->SetAutoRedraw(true);
    box_->repaint();
    QCOMPARE(differences(areaOnScreen(), drawn), QString());
    QVERIFY(pixelsOf(drawn, ink()) > 0);
}

// The tile is drawn in the desktop's button colours, and follows them when they change.
void TestPictureBox::coloursFollowThePalette()
{
    drawSomething(*box_);
    QImage screen = areaOnScreen();
    QCOMPARE(screen.pixelColor(0, 80), ink()); // the line across the middle
    QCOMPARE(screen.pixelColor(0, 0), face());
    QVERIFY(ink() != face());

    QPalette palette = box_->palette();
    palette.setColor(QPalette::ButtonText, QColor(0, 0, 160));
    palette.setColor(QPalette::Button, QColor(255, 255, 200));
    box_->setPalette(palette);
    screen = areaOnScreen();
    QCOMPARE(screen.pixelColor(0, 80), QColor(0, 0, 160));
    QCOMPARE(screen.pixelColor(40, 40), QColor(0, 0, 160)); // the dot
    QCOMPARE(screen.pixelColor(0, 0), QColor(255, 255, 200));
    QCOMPARE(differences(screen, box_->image()), QString());
}

QTEST_MAIN(TestPictureBox)
#include "tst_picture_box.moc"
