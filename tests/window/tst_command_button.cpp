// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "colours.h"
#include "command_button.h"
#include "fixed_texts.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

const QColor kRed(255, 0, 0);
constexpr int kBevel = 2;

QImage grabbed(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Every pixel of the area that differs from the colour, as "x,y" of the first few.
QString pixelsOtherThan(const QImage& image, const QRect& area, const QColor& colour)
{
    QStringList where;
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != colour && count++ < 8)
                where << QString("%1,%2").arg(x).arg(y);
        }
    }
    return where.join(' ');
}

} // namespace

class TestCommandButton : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void faceIsFlatRed_data();
    void faceIsFlatRed();
    void captionIsInTheButtonTextColour_data();
    void captionIsInTheButtonTextColour();
    void clickIsReportedOnce_data();
    void clickIsReportedOnce();

private:
    // The part of the face the caption may cover, with a pixel to spare for smoothing.
    QRect captionArea() const;

    // The clear button at the size and in the font it has in the window.
    std::unique_ptr<QWidget> host_;
    CommandButton* button_ = nullptr;
};

void TestCommandButton::init()
{
    host_ = std::make_unique<QWidget>();
    host_->setFont(QFont("Times New Roman", 12));
    button_ =
        new CommandButton(QString::fromUtf8(kClearCaption), fromBgr(kClearFaceBgr), host_.get());
    button_->setGeometry(10, 10, 105, 25);
    host_->resize(130, 50);
    host_->show();
    QVERIFY(QTest::qWaitForWindowExposed(host_.get()));
}

void TestCommandButton::cleanup()
{
    host_.reset();
}

QRect TestCommandButton::captionArea() const
{
    const QRect inside = button_->rect().adjusted(kBevel, kBevel, -kBevel, -kBevel);
    return button_->fontMetrics()
        .boundingRect(inside, Qt::AlignCenter, button_->text())
        .adjusted(-1, -1, 2, 2); // and the one-pixel shift of a pressed button
}

// The red face is what tells a pupil this button erases; styles would shade it, so it must
// come out as one flat colour inside a desktop bevel, pressed or not, with or without focus.
void TestCommandButton::faceIsFlatRed_data()
{
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("focused");

    QTest::newRow("up") << false << false;
    QTest::newRow("held down") << true << false;
    QTest::newRow("focused") << false << true;
}

void TestCommandButton::faceIsFlatRed()
{
    QFETCH(bool, down);
    QFETCH(bool, focused);

    QCOMPARE(button_->faceColour(), kRed);
    if (focused) {
        host_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host_.get()));
        button_->setFocus();
        QVERIFY(button_->hasFocus());
    }
    if (down)
        QTest::mousePress(button_, Qt::LeftButton);
    QCOMPARE(button_->isDown(), down);

    const QImage face = grabbed(button_);
    QCOMPARE(face.size(), QSize(105, 25));
    const QRect inside = face.rect().adjusted(kBevel, kBevel, -kBevel, -kBevel);
    // Two rows at the top and two columns at each side, clear of caption and focus frame
    // alike, from one end of the face to the other; the bottom row too while the button is up
    // (held down, the caption moves a pixel and its descenders reach it).
    for (const int y : {inside.top(), inside.top() + 1, inside.bottom()}) {
        if (y != inside.bottom() || !down)
            QCOMPARE(pixelsOtherThan(face, QRect(inside.left(), y, inside.width(), 1), kRed),
                     QString());
    }
    for (const int x : {inside.left(), inside.left() + 1, inside.right() - 1, inside.right()})
        QCOMPARE(pixelsOtherThan(face, QRect(x, inside.top(), 1, inside.height()), kRed),
                 QString());
    if (!focused) {
        // Everywhere else outside the caption as well.
        for (const QRect& band :
             {QRect(inside.topLeft(), QPoint(captionArea().left() - 1, inside.bottom())),
              QRect(QPoint(captionArea().right() + 1, inside.top()), inside.bottomRight())})
            QCOMPARE(pixelsOtherThan(face, band, kRed), QString());
    }

    // The bevel is raised while up and sunken while held down: its top-left corner is the
    // lighter one in the first case and the darker one in the second.
    const int topLeft = face.pixelColor(0, 0).lightness();
    const int bottomRight = face.pixelColor(face.width() - 1, face.height() - 1).lightness();
    QVERIFY(face.pixelColor(0, 0) != kRed);
    QVERIFY(down ? topLeft < bottomRight : topLeft > bottomRight);

    if (down)
        QTest::mouseRelease(button_, Qt::LeftButton);
}

// The caption must stay readable in whatever text colour the desktop uses for buttons.
void TestCommandButton::captionIsInTheButtonTextColour_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("desktop colour") << QColor() << true;
    QTest::newRow("dark blue") << QColor(0, 0, 128) << true;
    QTest::newRow("white") << QColor(Qt::white) << true;
    QTest::newRow("disabled") << QColor() << false;
}

void TestCommandButton::captionIsInTheButtonTextColour()
{
    QFETCH(QColor, text);
    QFETCH(bool, enabled);

    if (text.isValid()) {
        QPalette palette = button_->palette();
        palette.setColor(QPalette::ButtonText, text);
        button_->setPalette(palette);
    }
    button_->setEnabled(enabled);
    const QColor expected = button_->palette().color(
        enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    QVERIFY(expected != kRed);

    const QImage face = grabbed(button_);
    int inCaption = 0;
    int elsewhere = 0;
    const QRect inside = face.rect().adjusted(kBevel, kBevel, -kBevel, -kBevel);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (face.pixelColor(x, y) == expected)
                ++(captionArea().contains(x, y) ? inCaption : elsewhere);
        }
    }
    // Glyph stems are solid; a caption of six letters has dozens of such pixels.
    QVERIFY2(inCaption >= 20, qPrintable(QString::number(inCaption)));
    QCOMPARE(elsewhere, 0);
}

// The program clears the tile once per click; a click that reported twice would be harmless
// here but a missed one would leave the old tile on show.
void TestCommandButton::clickIsReportedOnce_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("clicks");

    QTest::newRow("left") << int(Qt::LeftButton) << 1;
    QTest::newRow("right") << int(Qt::RightButton) << 0;
}

void TestCommandButton::clickIsReportedOnce()
{
    QFETCH(int, button);
    QFETCH(int, clicks);

    QSignalSpy spy(button_, &CommandButton::clicked);
    QTest::mouseClick(button_, Qt::MouseButton(button));
    QCOMPARE(spy.count(), clicks);
    QVERIFY(!button_->isDown());
}

QTEST_MAIN(TestCommandButton)
#include "tst_command_button.moc"
