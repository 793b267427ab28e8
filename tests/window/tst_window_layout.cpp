// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_button.h"
#include "expected_tile.h"
#include "fixed_texts.h"
#include "list_box.h"
#include "main_form_layout.h"
#include "photo_box.h"
#include "picture_box.h"
#include "text_box.h"

#include <QLabel>
#include <QRawFont>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <map>
#include <memory>

namespace {

const QColor kFormBackground(192, 192, 255);
const QColor kHeadingBackground(255, 192, 128);

using expected::differences;

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void frame();
    void opensInTheMiddleOfTheScreen();
    void controlGeometry_data();
    void controlGeometry();
    void controlsDoNotOverlap();
    void reportBoxHasTheFocusFirst();
    void tabOrder_data();
    void tabOrder();
    void description();
    void descriptionIsLaidOutOnceAtItsWidth();
    void colours_data();
    void colours();
    void headingIsCentred();
    void photoInsideItsBorder();
    void fonts_data();
    void fonts();

private:
    QWidget* control(const QString& name) const;

    // One window shown for every test that only looks at it.
    std::unique_ptr<MainFormLayout> form_;
    QImage grab_;
};

void TestWindowLayout::initTestCase()
{
    form_ = std::make_unique<MainFormLayout>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    grab_ = form_->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void TestWindowLayout::cleanupTestCase()
{
    form_.reset();
}

QWidget* TestWindowLayout::control(const QString& name) const
{
    const std::map<QString, QWidget*> controls{
        {"Text1", form_->Text1},       {"Label1", form_->Label1},
        {"List1", form_->List1},       {"Command1", form_->Command1},
        {"Picture1", form_->Picture1}, {"Picture2", form_->Picture2}};
    return controls.at(name);
}

// A fixed window of the designed size, closable but neither minimised nor maximised; it opens
// in the middle of the screen.
void TestWindowLayout::frame()
{
    QCOMPARE(form_->size(), QSize(461, 345));
    QCOMPARE(form_->minimumSize(), form_->size());
    QCOMPARE(form_->maximumSize(), form_->size());
    QCOMPARE(form_->windowTitle(), QString("Рисуване - плочки на домино"));

    const Qt::WindowFlags flags = form_->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowTitleHint);

    const QIcon icon = form_->windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    QCOMPARE(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

void TestWindowLayout::opensInTheMiddleOfTheScreen()
{
    MainFormLayout fresh;
    fresh.move(5, 7); // so that the platform's own placement cannot do the job
    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    const QPoint middle = fresh.screen()->availableGeometry().center();
    const QPoint centre = fresh.frameGeometry().center();
    QVERIFY2((centre - middle).manhattanLength() <= 2,
             qPrintable(QString("%1,%2").arg(centre.x()).arg(centre.y())));
}

// Positions designed in twips, 15 to a pixel.
void TestWindowLayout::controlGeometry_data()
{
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("Text1") << QRect(8, 208, 449, 121);
    QTest::newRow("Label1") << QRect(64, 0, 305, 25);
    QTest::newRow("List1") << QRect(16, 32, 97, 118);
    QTest::newRow("Command1") << QRect(16, 160, 105, 25);
    QTest::newRow("Picture1") << QRect(136, 32, 80, 160);
    QTest::newRow("Picture2") << QRect(224, 32, 224, 166);
}

void TestWindowLayout::controlGeometry()
{
    QFETCH(QRect, geometry);

    QWidget* widget = control(QTest::currentDataTag());
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->parentWidget(), form_.get());
    QVERIFY(widget->isVisible());
    QVERIFY(form_->rect().contains(geometry));
}

void TestWindowLayout::controlsDoNotOverlap()
{
    const QStringList names{"Text1", "Label1", "List1", "Command1", "Picture1", "Picture2"};
    for (const QString& a : names) {
        for (const QString& b : names) {
            if (a < b)
                QVERIFY2(!control(a)->geometry().intersects(control(b)->geometry()),
                         qPrintable(a + " and " + b));
        }
    }
}

// A pupil can start reading (and scrolling) the description at once, without a click.
void TestWindowLayout::reportBoxHasTheFocusFirst()
{
    MainFormLayout fresh;
    fresh.show();
    fresh.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&fresh));
    QCOMPARE(QApplication::focusWidget(), fresh.Text1);
    QCOMPARE(fresh.focusWidget(), fresh.Text1);
}

// Tab walks report box, list and button, and round again; nothing else takes the focus.
void TestWindowLayout::tabOrder_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<QString>("to");

    QTest::newRow("Tab from Text1") << "Text1" << false << "List1";
    QTest::newRow("Tab from List1") << "List1" << false << "Command1";
    QTest::newRow("Tab from Command1") << "Command1" << false << "Text1";
    QTest::newRow("Shift+Tab from Text1") << "Text1" << true << "Command1";
    QTest::newRow("Shift+Tab from List1") << "List1" << true << "Text1";
    QTest::newRow("Shift+Tab from Command1") << "Command1" << true << "List1";
}

void TestWindowLayout::tabOrder()
{
    QFETCH(QString, from);
    QFETCH(bool, backwards);
    QFETCH(QString, to);

    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    control(from)->setFocus(Qt::OtherFocusReason);
    QVERIFY(control(from)->hasFocus());
    if (backwards)
        QTest::keyClick(control(from), Qt::Key_Backtab, Qt::ShiftModifier);
    else
        QTest::keyClick(control(from), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control(to));
}

// The window opens with the project's description, as written, shown from its first line.
void TestWindowLayout::description()
{
    const std::string& text = form_->Text1->Text();
    QCOMPARE(text, std::string(kDescription));
    const QByteArray bytes = QByteArray::fromStdString(text);
    QVERIFY(bytes.startsWith("Играта Домино има над 3000 годишна история."));
    QVERIFY(bytes.endsWith("изчертава избраната плочка.\r\n"));
    QCOMPARE(bytes.count("\r\n"), 7);
    QCOMPARE(bytes.count('\r'), 7);
    QCOMPARE(bytes.count('\n'), 7);
    QCOMPARE(form_->Text1->blockCount(), 8);
    QCOMPARE(form_->Text1->verticalScrollBar()->value(), 0);
}

// Laying the seven paragraphs out is the dearest part of start-up: it must happen once, when
// the box is shown at its width, not also before at no width at all.
void TestWindowLayout::descriptionIsLaidOutOnceAtItsWidth()
{
    const QFont applicationFont = QGuiApplication::font();
    MainFormLayout fresh;
    QCOMPARE(QGuiApplication::font(), applicationFont); // menus and dialogs keep theirs
    for (QTextBlock block = fresh.Text1->document()->firstBlock(); block.isValid();
         block = block.next()) {
        QVERIFY2(block.text().isEmpty() || block.layout()->lineCount() == 0,
                 qPrintable(block.text()));
    }

    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    const QTextBlock first = fresh.Text1->document()->firstBlock();
    QVERIFY(first.layout()->lineCount() > 1); // wrapped at the box's width
    QVERIFY(first.layout()->lineAt(0).naturalTextWidth() <= fresh.Text1->viewport()->width());
    QCOMPARE(fresh.Text1->textCursor().position(), 0);
    QVERIFY(!fresh.Text1->textCursor().hasSelection());
}

// The colours as they reach the screen, not as they were set: a style could paint over them.
void TestWindowLayout::colours_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("form, top left") << QPoint(4, 4) << kFormBackground;
    QTest::newRow("form, below the photo") << QPoint(230, 200) << kFormBackground;
    QTest::newRow("form, right of the heading") << QPoint(400, 10) << kFormBackground;
    QTest::newRow("form, bottom right") << QPoint(459, 340) << kFormBackground;
    QTest::newRow("heading, left end") << QPoint(66, 12) << kHeadingBackground;
    QTest::newRow("heading, right end") << QPoint(366, 12) << kHeadingBackground;
    QTest::newRow("heading, below the text") << QPoint(200, 24) << kHeadingBackground;
    QTest::newRow("button face") << QPoint(20, 164) << QColor(255, 0, 0);
    QTest::newRow("button face, right end") << QPoint(117, 180) << QColor(255, 0, 0);
}

void TestWindowLayout::colours()
{
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);

    QCOMPARE(grab_.size(), QSize(461, 345));
    QCOMPARE(grab_.pixelColor(pixel), colour);
}

// The heading, with its leading blank, is centred over the window's controls: the blank
// leaves the ink one blank's width right of the middle.
void TestWindowLayout::headingIsCentred()
{
    const QString heading = form_->Label1->text();
    QCOMPARE(heading, QString(" Рисуване - плочка от играта Домино"));
    QCOMPARE(heading.toUtf8(), QByteArray(kHeading));

    const QRect area = form_->Label1->geometry();
    int left = area.right();
    int right = area.left();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (grab_.pixelColor(x, y) != kHeadingBackground) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    QVERIFY(right - left > area.width() / 2);
    const int blank = form_->Label1->fontMetrics().horizontalAdvance(' ');
    const int leftGap = left - area.left();
    const int rightGap = area.right() - right;
    QVERIFY2(std::abs(leftGap - rightGap - blank) <= 2,
             qPrintable(QString("gaps %1 and %2, blank %3").arg(leftGap).arg(rightGap).arg(blank)));
}

// The photograph is shown as it is, pixel for pixel, inside a 2-pixel border.
void TestWindowLayout::photoInsideItsBorder()
{
    const QImage photo = form_->Picture2->photo().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(photo.size(), QSize(220, 162));
    const QImage shown = form_->Picture2->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(224, 166));
    QCOMPARE(differences(shown.copy(2, 2, 220, 162), photo), QString());
    QCOMPARE(differences(grab_.copy(226, 34, 220, 162), photo), QString());
    // The border is two lines on each side, each of one shade, not a strip of the photograph.
    for (int i = 0; i < 2; ++i) {
        const QColor line = shown.pixelColor(i, i);
        for (int x = i; x < shown.width() - 1 - i; ++x)
            QCOMPARE(shown.pixelColor(x, i), line);
        for (int y = i; y < shown.height() - 1 - i; ++y)
            QCOMPARE(shown.pixelColor(i, y), line);
    }
}

// Every control is in 12-point Times New Roman (or the font it resolves to), and that font
// must have a glyph for every character the window shows, Cyrillic included.
void TestWindowLayout::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("Text1, description") << "Text1" << QByteArray(kDescription);
    QTest::newRow("Text1, prompt") << "Text1" << QByteArray(kPrompt);
    QTest::newRow("Label1, heading") << "Label1" << QByteArray(kHeading);
    QTest::newRow("Command1, caption") << "Command1" << QByteArray(kClearCaption);
    QTest::newRow("List1, tiles") << "List1" << QByteArray("0123456:");
    QTest::newRow("Picture1") << "Picture1" << QByteArray();
    QTest::newRow("Picture2") << "Picture2" << QByteArray();
    QTest::newRow("window, title") << QString() << QByteArray(kCaption);
}

void TestWindowLayout::fonts()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, text);

    QWidget* widget = name.isEmpty() ? form_.get() : control(name);
    const QFont font = widget->font();
    QCOMPARE(font.family(), QString("Times New Roman"));
    QCOMPARE(font.pointSize(), 12);
    const QFontInfo resolved(font);
    QCOMPARE(resolved.pointSize(), 12);
    // The font actually used for drawing, not a fallback found character by character.
    const QRawFont raw = QRawFont::fromFont(font);
    QVERIFY(raw.isValid());
    QCOMPARE(raw.familyName(), resolved.family());

    const QFontMetrics metrics(font);
    for (const char32_t character : QString::fromUtf8(text).toUcs4()) {
        if (character == '\r' || character == '\n')
            continue;
        QVERIFY2(
            metrics.inFontUcs4(character) && raw.supportsCharacter(character),
            qPrintable(QString("U+%1 in %2").arg(uint(character), 4, 16).arg(raw.familyName())));
    }
}

QTEST_MAIN(TestWindowLayout)
#include "tst_window_layout.moc"
