// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_box.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QTestEventList>
#include <QTextBlock>
#include <memory>

namespace {

const std::string kTwoLines = "Първи ред\r\nВтори ред";

std::string manyLines(const std::string& word)
{
    std::string text;
    for (int line = 1; line <= 40; ++line)
        text += word + " " + std::to_string(line) + "\r\n";
    return text;
}

} // namespace

class TestTextBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsBackByteForByte_data();
    void readsBackByteForByte();
    void newTextIsShownFromTheTop_data();
    void newTextIsShownFromTheTop();
    void userCannotChangeTheText_data();
    void userCannotChangeTheText();
    void userCanSelectAndCopy_data();
    void userCanSelectAndCopy();
    void longLinesWrap_data();
    void longLinesWrap();

private:
    QString shown() const { return box_->toPlainText(); }

    // The report box at the size and in the font it has in the window.
    std::unique_ptr<TextBox> box_;
};

void TestTextBox::init()
{
    box_ = std::make_unique<TextBox>();
    box_->setFont(QFont("Times New Roman", 12));
    box_->resize(449, 121);
    box_->show();
    box_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(box_.get()));
    QVERIFY(box_->hasFocus());
}

void TestTextBox::cleanup()
{
    box_.reset();
}

// The program reads the report back and compares it, so Text must return every byte that
// was written, line ends included, while the box shows one line per line end.
void TestTextBox::readsBackByteForByte_data()
{
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("one line") << QByteArray("Изберете плочка!") << QString("Изберете плочка!");
    QTest::newRow("CR LF between lines")
        << QByteArray("От общо: 28 плочки\r\nИзбраната плочка е симетрична!")
        << QString("От общо: 28 плочки\nИзбраната плочка е симетрична!");
    QTest::newRow("trailing CR LF") << QByteArray("1:2\r\n2:1\r\n") << QString("1:2\n2:1\n");
    QTest::newRow("blank line") << QByteArray("a\r\n\r\nb") << QString("a\n\nb");
    QTest::newRow("only CR LF") << QByteArray("\r\n") << QString("\n");
    QTest::newRow("lone LF") << QByteArray("горе\nдолу") << QString("горе\nдолу");
    QTest::newRow("lone CR") << QByteArray("горе\rдолу") << QString("горе\nдолу");
    QTest::newRow("tab and blanks") << QByteArray(" \t3:4  ") << QString(" \t3:4  ");
    QTest::newRow("not UTF-8") << QByteArray("5\xff:\xfe") << QString("5\uFFFD:\uFFFD");
}

void TestTextBox::readsBackByteForByte()
{
    QFETCH(QByteArray, written);
    QFETCH(QString, shown);

    box_->SetText(written.toStdString());
    QCOMPARE(QByteArray::fromStdString(box_->Text()), written);
    QCOMPARE(this->shown(), shown);
    QCOMPARE(box_->blockCount(), int(shown.count('\n')) + 1);
}

// A new report must be read from its first line, wherever the pupil had scrolled to.
void TestTextBox::newTextIsShownFromTheTop_data()
{
    QTest::addColumn<bool>("byCursor");

    QTest::newRow("scrolled with the bar") << false;
    QTest::newRow("cursor moved to the end") << true;
}

void TestTextBox::newTextIsShownFromTheTop()
{
    QFETCH(bool, byCursor);

    box_->SetText(manyLines("Първи"));
    QScrollBar* bar = box_->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), 0);
    if (byCursor)
        QTest::keyClick(box_.get(), Qt::Key_End, Qt::ControlModifier);
    else
        bar->setValue(bar->maximum());
    QVERIFY(bar->value() > 0);

    box_->SetText(manyLines("Втори"));
    QCOMPARE(bar->value(), 0);
    QCOMPARE(box_->textCursor().position(), 0);
    QVERIFY(!box_->textCursor().hasSelection());
    QCOMPARE(box_->cursorForPosition(QPoint(4, 4)).block().text(), QString("Втори 1"));
}

// The report is the program's answer; the pupil must not be able to alter it.
void TestTextBox::userCannotChangeTheText_data()
{
    QTest::addColumn<QTestEventList>("events");

    QTestEventList letters;
    letters.addKeyClicks("abc");
    QTest::newRow("Latin letters") << letters;

    QTestEventList backspace;
    backspace.addKeyClick(Qt::Key_End, Qt::ControlModifier);
    backspace.addKeyClick(Qt::Key_Backspace);
    backspace.addKeyClick(Qt::Key_Backspace, Qt::ControlModifier);
    QTest::newRow("Backspace at the end") << backspace;

    QTestEventList del;
    del.addKeyClick(Qt::Key_Delete);
    del.addKeyClick(Qt::Key_Delete, Qt::ControlModifier);
    QTest::newRow("Delete at the start") << del;

    QTestEventList enter;
    enter.addKeyClick(Qt::Key_Return);
    enter.addKeyClick(Qt::Key_Enter);
    QTest::newRow("Enter") << enter;

    QTestEventList overSelection;
    overSelection.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    overSelection.addKeyClick(Qt::Key_Backspace);
    overSelection.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    overSelection.addKeyClick(Qt::Key_Delete);
    overSelection.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    overSelection.addKeyClicks("x");
    QTest::newRow("over a selection") << overSelection;

    QTestEventList paste;
    paste.addKeyClick(Qt::Key_V, Qt::ControlModifier);
    paste.addKeyClick(Qt::Key_Insert, Qt::ShiftModifier);
    QTest::newRow("paste") << paste;

    QTestEventList cut;
    cut.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    cut.addKeyClick(Qt::Key_X, Qt::ControlModifier);
    cut.addKeyClick(Qt::Key_Delete, Qt::ShiftModifier);
    QTest::newRow("cut") << cut;
}

void TestTextBox::userCannotChangeTheText()
{
    QFETCH(QTestEventList, events);

    QGuiApplication::clipboard()->setText("вмъкнато");
    box_->SetText(kTwoLines);
    events.simulate(box_.get());
    QCOMPARE(box_->Text(), kTwoLines);
    QCOMPARE(shown(), QString("Първи ред\nВтори ред"));
}

// Reading is not enough for a lesson: pupils copy parts of the report into their notes.
void TestTextBox::userCanSelectAndCopy_data()
{
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("copied");

    QTestEventList all;
    all.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    QTest::newRow("Ctrl+A") << all << QString("Първи ред\nВтори ред");

    QTestEventList three;
    for (int i = 0; i < 3; ++i)
        three.addKeyClick(Qt::Key_Right, Qt::ShiftModifier);
    QTest::newRow("Shift+Right three times") << three << QString("Пър");

    QTestEventList line;
    line.addKeyClick(Qt::Key_End, Qt::ShiftModifier);
    QTest::newRow("Shift+End") << line << QString("Първи ред");

    QTestEventList secondLine;
    secondLine.addKeyClick(Qt::Key_Down);
    secondLine.addKeyClick(Qt::Key_Right);
    secondLine.addKeyClick(Qt::Key_End, Qt::ShiftModifier);
    QTest::newRow("Down, Right, Shift+End") << secondLine << QString("тори ред");

    QTestEventList acrossLines;
    acrossLines.addKeyClick(Qt::Key_End);
    acrossLines.addKeyClick(Qt::Key_Left);
    acrossLines.addKeyClick(Qt::Key_Down, Qt::ShiftModifier);
    QTest::newRow("Shift+Down across the line end") << acrossLines << QString("д\nВтори ре");

    QTestEventList word;
    word.addKeyClick(Qt::Key_End, Qt::ControlModifier);
    word.addKeyClick(Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
    QTest::newRow("Ctrl+Shift+Left at the end") << word << QString("ред");

    QTestEventList nothing;
    nothing.addKeyClick(Qt::Key_Right);
    QTest::newRow("nothing selected") << nothing << QString("по-рано");
}

void TestTextBox::userCanSelectAndCopy()
{
    QFETCH(QTestEventList, events);
    QFETCH(QString, copied);

    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("по-рано");
    box_->SetText(kTwoLines);
    events.simulate(box_.get());
    QTest::keyClick(box_.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), copied);
    QCOMPARE(box_->Text(), kTwoLines);
}

// The box is narrower than a report line: lines wrap instead of running out of sight, and the
// vertical bar stays put so the text does not reflow when a longer report arrives.
void TestTextBox::longLinesWrap_data()
{
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<int>("minimumLines");

    QTest::newRow("short") << QByteArray("1:1") << 1;
    QTest::newRow("sentence") << QByteArray("Плочката може да се разглежда и като: 5:2, а от общо "
                                            "28 плочки Вие избрахте плочка 2:5 в списъка.")
                              << 2;
    QTest::newRow("one long word") << QByteArray(200, 'x') << 3;
}

void TestTextBox::longLinesWrap()
{
    QFETCH(QByteArray, written);
    QFETCH(int, minimumLines);

    QCOMPARE(box_->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    box_->SetText(written.toStdString());
    QTest::qWait(0);
    const QTextBlock first = box_->document()->firstBlock();
    QVERIFY(box_->document()->documentLayout()->blockBoundingRect(first).isValid());
    QVERIFY2(first.layout()->lineCount() >= minimumLines,
             qPrintable(QString::number(first.layout()->lineCount())));
    QCOMPARE(box_->horizontalScrollBar()->maximum(), 0);
    QVERIFY(box_->verticalScrollBar()->isVisible());
    QVERIFY(!box_->horizontalScrollBar()->isVisible());
}

QTEST_MAIN(TestTextBox)
#include "tst_text_box.moc"
