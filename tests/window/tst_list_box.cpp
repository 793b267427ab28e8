// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "expected_window.h"
#include "list_box.h"

#include <QAccessible>
#include <QJsonArray>
#include <QKeySequence>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

namespace {

// Index 0 is 0:0, 6 is 0:6, 18 is 3:3, 21 is 3:6, 27 is 6:6.
std::vector<std::string> tileLabels()
{
    std::vector<std::string> labels;
    for (char upper = '0'; upper <= '6'; ++upper) {
        for (char lower = upper; lower <= '6'; ++lower)
            labels.push_back({upper, ':', lower});
    }
    return labels;
}

// A start state written as -1: an entry was selected, then ListIndex = -1 was written.
constexpr int kCleared = -1;

} // namespace

class TestListBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void entriesKeepTheirOrder();
    void writingListIndex_data();
    void writingListIndex();
    void keys_data();
    void keys();
    void focusWithNothingSelected_data();
    void focusWithNothingSelected();
    void mousePress_data();
    void mousePress();
    void doubleClickIsTwoClicks();
    void pressBelowTheLastEntry_data();
    void pressBelowTheLastEntry();
    void dragAcrossEntries();
    void finger_data();
    void finger();
    void screenReaderRows_data();
    void screenReaderRows();

private:
    void startAt(int index);
    void clickEntry(int row, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = {});
    QString entry(int index) const
    {
        return QString::fromStdString(list_->List(std::int16_t(index)));
    }
    bool entryInView(int row) const;
    // Rows wholly in view, less the one a page keeps in sight.
    int pageStep() const;

    // The list at the size and in the font it has in the window, behind a button so that
    // the focus can come to it by Tab.
    std::unique_ptr<QWidget> host_;
    QPushButton* before_ = nullptr;
    ListBox* list_ = nullptr;
};

void TestListBox::init()
{
    host_ = std::make_unique<QWidget>();
    host_->setFont(QFont("Times New Roman", 12));
    before_ = new QPushButton("before", host_.get());
    before_->setGeometry(0, 0, 97, 25);
    list_ = new ListBox(host_.get());
    list_->setGeometry(0, 30, 97, 118);
    for (const std::string& label : tileLabels())
        list_->AddItem(label);
    host_->resize(120, 160);
    host_->show();
    host_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(host_.get()));
    before_->setFocus();
    QVERIFY(before_->hasFocus());
}

void TestListBox::cleanup()
{
    host_.reset();
}

void TestListBox::startAt(int index)
{
    if (index == kCleared) {
        list_->SetListIndex(1);
        list_->SetListIndex(-1);
    } else {
        list_->SetListIndex(std::int16_t(index));
    }
}

// Scrolls the entry into view first, as a pupil would with the scroll bar.
void TestListBox::clickEntry(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    QListWidgetItem* entry = list_->item(row);
    list_->scrollToItem(entry);
    QTest::mouseClick(list_->viewport(), button, modifiers, list_->visualItemRect(entry).center());
}

bool TestListBox::entryInView(int row) const
{
    return list_->viewport()->rect().contains(list_->visualItemRect(list_->item(row)));
}

int TestListBox::pageStep() const
{
    return list_->viewport()->height() / list_->sizeHintForRow(0) - 1;
}

// The program fills the list once and reads entries back by index, so order must be kept.
void TestListBox::entriesKeepTheirOrder()
{
    QCOMPARE(list_->ListCount(), 28);
    QCOMPARE(list_->ListIndex(), -1);
    QCOMPARE(entry(0), QString("0:0"));
    QCOMPARE(entry(7), QString("1:1"));
    QCOMPARE(entry(27), QString("6:6"));
    QCOMPARE(entry(-1), QString());
    QCOMPARE(entry(28), QString());
    QCOMPARE(entry(-2), QString());

    list_->SetListIndex(3);
    list_->Clear();
    QCOMPARE(list_->ListCount(), 0);
    QCOMPARE(list_->ListIndex(), -1);
    QCOMPARE(entry(0), QString());

    for (const char* label : {"6:6", "0:0", "3:1", "3:1"})
        list_->AddItem(label);
    QCOMPARE(list_->ListCount(), 4);
    QCOMPARE(entry(0), QString("6:6"));
    QCOMPARE(entry(1), QString("0:0"));
    QCOMPARE(entry(2), QString("3:1"));
    QCOMPARE(entry(3), QString("3:1"));
    QCOMPARE(entry(4), QString());
}

// Writing ListIndex is how the program picks or forgets a tile; it runs the Click handler
// exactly once, and a stray index must change nothing.
void TestListBox::writingListIndex_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("clicks");

    QTest::newRow("first entry") << kCleared << 0 << 0 << 1;
    QTest::newRow("last entry, out of view") << 0 << 27 << 27 << 1;
    QTest::newRow("the selected entry again") << 5 << 5 << 5 << 1;
    QTest::newRow("-1 removes the selection") << 5 << -1 << -1 << 1;
    QTest::newRow("-1 with nothing selected") << kCleared << -1 << -1 << 1;
    QTest::newRow("28 is ignored") << 5 << 28 << 5 << 0;
    QTest::newRow("-2 is ignored") << 5 << -2 << 5 << 0;
    QTest::newRow("32767 is ignored") << 5 << 32767 << 5 << 0;
    QTest::newRow("-32768 is ignored with nothing selected") << kCleared << -32768 << -1 << 0;
}

void TestListBox::writingListIndex()
{
    QFETCH(int, start);
    QFETCH(int, written);
    QFETCH(int, expected);
    QFETCH(int, clicks);

    startAt(start);
    QSignalSpy spy(list_, &ListBox::Click);
    list_->SetListIndex(std::int16_t(written));
    QCOMPARE(spy.count(), clicks);
    QCOMPARE(list_->ListIndex(), expected);
    QCOMPARE(list_->selectedItems().size(), expected == -1 ? 0 : 1);
    if (expected == -1) {
        // A row left current would be where the next arrow key starts from.
        QVERIFY(!list_->currentIndex().isValid());
    } else {
        QCOMPARE(list_->currentRow(), expected);
        QVERIFY(entryInView(expected));
    }
}

// Pupils move through the tiles with the keyboard; each key that selects another entry must
// run the Click handler once, and a key that stays on the selected entry must not redraw.
void TestListBox::keys_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expected");
    // Added to expected, in pages of pageStep() rows.
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("clicks");

    // The table the web page's list is checked against too. After ListIndex = -1 no row is
    // current and the keys start afresh: End at the last entry, the others from the top.
    for (const QJsonValue& value : expected::listKeys()) {
        const QJsonArray row = value.toArray();
        const QKeyCombination key = QKeySequence::fromString(row[2].toString())[0];
        QTest::newRow(qPrintable(row[0].toString()))
            << row[1].toInt() << int(key.key()) << int(key.keyboardModifiers()) << row[3].toInt()
            << row[4].toInt() << row[5].toInt();
    }
}

void TestListBox::keys()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expected);
    QFETCH(int, pages);
    QFETCH(int, clicks);

    list_->setFocus();
    startAt(start);
    QVERIFY(pageStep() >= 2);
    expected += pages * pageStep();

    QSignalSpy spy(list_, &ListBox::Click);
    QTest::keyClick(list_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(spy.count(), clicks);
    QCOMPARE(list_->ListIndex(), expected);
    if (expected >= 0) {
        QCOMPARE(list_->currentRow(), expected);
        QVERIFY(entryInView(expected));
    }
}

// Giving the list the focus must not pick a tile by itself. Tab makes a row current (where the
// keys start from) without selecting it; a press on the scroll bar, which also brings the
// focus, leaves no row current, so the keys start afresh.
void TestListBox::focusWithNothingSelected_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("clicks");

    const int none = Qt::NoModifier;
    for (const char* how : {"Tab", "setFocus", "scroll bar"}) {
        QTest::addRow("%s, Home", how) << how << int(Qt::Key_Home) << none << 0 << 1;
        QTest::addRow("%s, End", how) << how << int(Qt::Key_End) << none << 27 << 1;
        QTest::addRow("%s, Space", how) << how << int(Qt::Key_Space) << none << -1 << 0;
        QTest::addRow("%s, Ctrl+Space", how)
            << how << int(Qt::Key_Space) << int(Qt::ControlModifier) << -1 << 0;
        QTest::addRow("%s, 6", how) << how << int(Qt::Key_6) << none << 27 << 1;
    }
    // As on the desktop: the keys move on from the current row 0.
    QTest::newRow("Tab, Down") << "Tab" << int(Qt::Key_Down) << none << 1 << 1;
    QTest::newRow("Tab, Up") << "Tab" << int(Qt::Key_Up) << none << 0 << 1;
    QTest::newRow("Tab, 0") << "Tab" << int(Qt::Key_0) << none << 1 << 1;
    QTest::newRow("Tab, 1") << "Tab" << int(Qt::Key_1) << none << 7 << 1;
    QTest::newRow("scroll bar, Down") << "scroll bar" << int(Qt::Key_Down) << none << 0 << 1;
    QTest::newRow("scroll bar, 0") << "scroll bar" << int(Qt::Key_0) << none << 0 << 1;
}

void TestListBox::focusWithNothingSelected()
{
    QFETCH(QString, how);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expected);
    QFETCH(int, clicks);

    QSignalSpy spy(list_, &ListBox::Click);
    if (how == "Tab") {
        QTest::keyClick(before_, Qt::Key_Tab);
    } else if (how == "setFocus") {
        list_->setFocus();
    } else {
        QScrollBar* bar = list_->verticalScrollBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() * 3 / 4));
        QVERIFY(bar->value() > 0);
    }
    QVERIFY(list_->hasFocus());
    QCOMPARE(list_->currentRow(), how == "scroll bar" ? -1 : 0);
    QCOMPARE(list_->ListIndex(), -1);
    QCOMPARE(spy.count(), 0);

    QTest::keyClick(list_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(spy.count(), clicks);
    QCOMPARE(list_->ListIndex(), expected);
    if (expected >= 0)
        QVERIFY(entryInView(expected));
}

// A press picks the entry under the mouse and runs Click once, even on the tile already
// picked (so the report is written again); modifiers must never empty the selection.
void TestListBox::mousePress_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("clicks");

    const int left = Qt::LeftButton;
    const int none = Qt::NoModifier;
    QTest::newRow("entry") << kCleared << 2 << left << none << 2 << 1;
    QTest::newRow("another entry") << 2 << 4 << left << none << 4 << 1;
    QTest::newRow("the selected entry") << 2 << 2 << left << none << 2 << 1;
    QTest::newRow("Ctrl on the selected entry")
        << 2 << 2 << left << int(Qt::ControlModifier) << 2 << 1;
    QTest::newRow("Ctrl on another entry") << 2 << 4 << left << int(Qt::ControlModifier) << 4 << 1;
    QTest::newRow("Shift on another entry") << 2 << 4 << left << int(Qt::ShiftModifier) << 4 << 1;
    QTest::newRow("entry scrolled into view") << kCleared << 23 << left << none << 23 << 1;
    QTest::newRow("right button") << 2 << 4 << int(Qt::RightButton) << none << 2 << 0;
    QTest::newRow("right button, nothing selected")
        << kCleared << 4 << int(Qt::RightButton) << none << -1 << 0;
    QTest::newRow("middle button") << 2 << 4 << int(Qt::MiddleButton) << none << 2 << 0;
}

void TestListBox::mousePress()
{
    QFETCH(int, start);
    QFETCH(int, row);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(int, expected);
    QFETCH(int, clicks);

    startAt(start);
    QSignalSpy spy(list_, &ListBox::Click);
    clickEntry(row, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(spy.count(), clicks);
    QCOMPARE(list_->ListIndex(), expected);
    QCOMPARE(list_->selectedItems().size(), expected == -1 ? 0 : 1);
}

// The second press of a double click is a click of its own: each raises Click.
void TestListBox::doubleClickIsTwoClicks()
{
    QSignalSpy spy(list_, &ListBox::Click);
    const QPoint centre = list_->visualItemRect(list_->item(3)).center();
    QTest::mousePress(list_->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(list_->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(list_->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(list_->ListIndex(), 3);
}

// Below a short list there is only blank space; a press there must not run Click.
void TestListBox::pressBelowTheLastEntry_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("button");

    QTest::newRow("left, nothing selected") << kCleared << int(Qt::LeftButton);
    QTest::newRow("left, entry selected") << 1 << int(Qt::LeftButton);
    QTest::newRow("right, entry selected") << 1 << int(Qt::RightButton);
}

void TestListBox::pressBelowTheLastEntry()
{
    QFETCH(int, start);
    QFETCH(int, button);

    list_->Clear();
    for (const char* label : {"0:0", "0:1", "0:2"})
        list_->AddItem(label);
    startAt(start);
    const QPoint blank(list_->viewport()->width() / 2, list_->viewport()->height() - 4);
    QVERIFY(!list_->indexAt(blank).isValid());

    QSignalSpy spy(list_, &ListBox::Click);
    QTest::mouseClick(list_->viewport(), Qt::MouseButton(button), {}, blank);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(list_->ListIndex(), start);
}

// Dragging with the button held moves the pick along: one Click per entry reached, none for
// moving within an entry or after the button is let go.
void TestListBox::dragAcrossEntries()
{
    QWidget* viewport = list_->viewport();
    const auto at = [&](int row, int dy = 0) {
        return list_->visualItemRect(list_->item(row)).center() + QPoint(0, dy);
    };

    QSignalSpy spy(list_, &ListBox::Click);
    QTest::mousePress(viewport, Qt::LeftButton, {}, at(0));
    QCOMPARE(spy.count(), 1);
    QTest::mouseMove(viewport, at(0, 3));
    QCOMPARE(spy.count(), 1);
    QTest::mouseMove(viewport, at(1));
    QTest::mouseMove(viewport, at(2));
    QTest::mouseMove(viewport, at(2, -3));
    QTest::mouseMove(viewport, at(3));
    QCOMPARE(spy.count(), 4);
    QCOMPARE(list_->ListIndex(), 3);
    QTest::mouseMove(viewport, at(1));
    QCOMPARE(spy.count(), 5);
    QCOMPARE(list_->ListIndex(), 1);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at(1));

    QTest::mouseMove(viewport, at(4));
    QCOMPARE(spy.count(), 5);
    QCOMPARE(list_->ListIndex(), 1);

    // Dragging with the right button picks nothing.
    QTest::mousePress(viewport, Qt::RightButton, {}, at(2));
    QTest::mouseMove(viewport, at(3));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, at(3));
    QCOMPARE(spy.count(), 5);
    QCOMPARE(list_->ListIndex(), 1);
}

QTEST_MAIN(TestListBox)
#include "tst_list_box.moc"

// A finger swipe scrolls the list and picks nothing; a tap picks the row once, as it lifts.
void TestListBox::finger_data()
{
    QTest::addColumn<int>("swipe"); // pixels up the list; 0 is a tap
    QTest::addColumn<int>("picked");

    QTest::newRow("tap on 0:2") << 0 << 2;
    QTest::newRow("swipe up from 0:2") << 90 << -1;
}

void TestListBox::finger()
{
    QFETCH(int, swipe);
    QFETCH(int, picked);

    static QPointingDevice* finger = QTest::createTouchDevice();
    QWidget* viewport = list_->viewport();
    const QPoint start = list_->visualItemRect(list_->item(2)).center();
    QSignalSpy spy(list_, &ListBox::Click);
    QTest::touchEvent(viewport, finger).press(0, start, viewport);
    for (int step = 1; step <= 6; ++step) {
        QTest::qWait(15);
        QTest::touchEvent(viewport, finger).move(0, start - QPoint(0, swipe * step / 6), viewport);
    }
    QTest::touchEvent(viewport, finger).release(0, start - QPoint(0, swipe), viewport);

    QCOMPARE(spy.count(), picked < 0 ? 0 : 1);
    QCOMPARE(list_->ListIndex(), picked);
    if (swipe > 0)
        QTRY_VERIFY(list_->verticalScrollBar()->value() >= 3);
}

// A screen reader meets each entry under its own text, as a row of the list; once the entries
// change or the list goes, the rows it was handed go too rather than stand for other entries.
void TestListBox::screenReaderRows_data()
{
    QTest::addColumn<bool>("listDeleted");
    QTest::newRow("entries replaced") << false;
    QTest::newRow("list deleted") << true;
}

void TestListBox::screenReaderRows()
{
    QFETCH(bool, listDeleted);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    if (!listDeleted)
        QSKIP("Qt 6.4's own list hears of new entries only while a screen reader listens");
#endif
    // Asked for twice, as Qt and then a screen reader ask.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(list_);
    QVERIFY(list);
    QCOMPARE(QAccessible::queryAccessibleInterface(list_), list);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->childCount(), 28);
    std::vector<QAccessible::Id> rows;
    for (int row = 0; row < list->childCount(); ++row) {
        QAccessibleInterface* entryRow = list->child(row);
        QCOMPARE(entryRow->role(), QAccessible::ListItem);
        QCOMPARE(entryRow->text(QAccessible::Name), entry(row));
        QCOMPARE(list->indexOfChild(entryRow), row);
        rows.push_back(QAccessible::uniqueId(entryRow));
    }

    if (listDeleted) {
        delete list_;
        list_ = nullptr;
    } else {
        list_->Clear();
        list_->AddItem("6:6");
    }
    for (const QAccessible::Id row : rows)
        QVERIFY(!QAccessible::accessibleInterface(row));
    if (!listDeleted)
        QCOMPARE(list->child(0)->text(QAccessible::Name), QString("6:6"));
}
