// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"
#include "command_button.h"
#include "expected_tile.h"
#include "expected_window.h"
#include "list_box.h"
#include "main_form.h"
#include "photo_box.h"
#include "picture_box.h"
#include "text_box.h"

#include <QAccessible>
#include <QLabel>
#include <QPaintEvent>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using expected::kDescriptionStart;
using expected::kPrompt;
using expected::kTiles;
using expected::reportFor;

namespace {

class Window
{
public:
    Window()
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    QByteArray report() const { return QByteArray::fromStdString(form.Text1->Text()); }

    // The tile's drawing area as it is on screen now.
    QImage tileOnScreen() const
    {
        const QImage grab = form.Picture1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return grab.copy(QRect(QPoint(2, 2), expected::kTileArea));
    }

    // The report box as it reached the screen against a fresh paint of it: a pick repaints
    // only the characters that changed, and must leave no old character behind.
    QString reportOnScreenDiffers()
    {
        QCoreApplication::processEvents(); // the pending repaint
        QWidget* viewport = form.Text1->viewport();
        const QPoint corner = viewport->mapTo(&form, QPoint(0, 0));
        const QImage shown = form.screen()
                                 ->grabWindow(form.winId(), corner.x(), corner.y(),
                                              viewport->width(), viewport->height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        return expected::differences(
            shown, viewport->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    QImage tileExpected(int upper, int lower) const
    {
        const QPalette palette = form.Picture1->palette();
        return expected::tileArea(upper, lower, palette.color(QPalette::ButtonText),
                                  palette.color(QPalette::Button));
    }

    // Scrolls the entry into view, as a pupil would with the scroll bar, and clicks it.
    void clickTile(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QListWidgetItem* entry = form.List1->item(row);
        form.List1->scrollToItem(entry);
        const QPoint centre = form.List1->visualItemRect(entry).center();
        QTest::mouseClick(form.List1->viewport(), Qt::LeftButton, modifiers, centre);
    }

    MainForm form;
};

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
QStringList announced;

void recordAnnouncements(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::Announcement)
        announced << static_cast<QAccessibleAnnouncementEvent*>(event)->message();
}
#endif

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void startUp();
    void pickWithTheMouse_data();
    void pickWithTheMouse();
    void pickTheSelectedTileAgain();
    void ctrlClickKeepsTheSelection();
    void arrowKeysRedrawAtEveryStep();
    void keys_data();
    void keys();
    void homeSelectsTheCurrentRowWhenNothingIsSelected();
    void clear_data();
    void clear();
    void pickAfterClearIsLikeTheFirstPick();
    void drawingSurvivesRepaints();
    void pickRepaintsOnlyWhatChanged();
    void screenReadersHearTheTile_data();
    void screenReadersHearTheTile();
};

void TestMainForm::startUp()
{
    Window window;
    const MainForm& form = window.form;

    QCOMPARE(form.List1->ListCount(), 28);
    QStringList entries;
    for (int row = 0; row < form.List1->ListCount(); ++row)
        entries << QString::fromStdString(form.List1->List(std::int16_t(row)));
    QCOMPARE(entries, kTiles);
    QCOMPARE(form.List1->ListIndex(), -1);
    QCOMPARE(form.List1->List(16), std::string("2:5"));

    QVERIFY(window.report().startsWith(kDescriptionStart));
    QCOMPARE(window.report().count("\r\n"), 7);
    QVERIFY(!form.UpperPips.has_value());
    QCOMPARE(form.LowerPips, 0);
    QVERIFY(form.Picture1->AutoRedraw());
    QCOMPARE(expected::differences(window.tileOnScreen(), window.tileExpected(0, 0)), QString());
}

void TestMainForm::pickWithTheMouse_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < kTiles.size(); ++row)
        QTest::newRow(qPrintable(kTiles[row])) << row;
}

void TestMainForm::pickWithTheMouse()
{
    QFETCH(int, row);
    const QString label = kTiles[row];
    const int upper = label[0].digitValue();
    const int lower = label[2].digitValue();

    Window window;
    // 6:6 first, so that any pip left over from the previous tile would show.
    window.clickTile(27);
    QSignalSpy clicks(window.form.List1, &ListBox::Click);
    window.clickTile(row);

    QCOMPARE(clicks.size(), 1);
    QCOMPARE(window.form.List1->ListIndex(), row);
    QCOMPARE(window.report(), reportFor(label));
    QCOMPARE(window.form.UpperPips, std::optional<double>(upper));
    QCOMPARE(window.form.LowerPips, lower);
    QCOMPARE(expected::differences(window.tileOnScreen(), window.tileExpected(upper, lower)),
             QString());
}

void TestMainForm::pickTheSelectedTileAgain()
{
    Window window;
    window.clickTile(16);
    const QImage first = window.tileOnScreen();
    QSignalSpy clicks(window.form.List1, &ListBox::Click);
    window.clickTile(16);

    QCOMPARE(clicks.size(), 1);
    QCOMPARE(window.form.List1->ListIndex(), 16);
    QCOMPARE(window.report(), reportFor("2:5"));
    QCOMPARE(window.tileOnScreen(), first);
}

void TestMainForm::ctrlClickKeepsTheSelection()
{
    Window window;
    window.clickTile(18);
    window.clickTile(18, Qt::ControlModifier);
    QCOMPARE(window.form.List1->ListIndex(), 18);
    QCOMPARE(window.report(), reportFor("3:3"));

    QTest::keyClick(window.form.List1, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(window.form.List1->ListIndex(), 18);
}

void TestMainForm::arrowKeysRedrawAtEveryStep()
{
    Window window;
    window.clickTile(0);
    QCOMPARE(window.reportOnScreenDiffers(), QString());
    QSignalSpy clicks(window.form.List1, &ListBox::Click);
    for (int row = 1; row < kTiles.size(); ++row) {
        QTest::keyClick(window.form.List1, Qt::Key_Down);
        const QString label = kTiles[row];
        QCOMPARE(clicks.size(), row);
        QCOMPARE(window.report(), reportFor(label));
        QCOMPARE(expected::differences(
                     window.tileOnScreen(),
                     window.tileExpected(label[0].digitValue(), label[2].digitValue())),
                 QString());
        QCOMPARE(window.reportOnScreenDiffers(), QString());
    }
    // At the bottom another Down selects nothing new, and the flow does not run.
    QTest::keyClick(window.form.List1, Qt::Key_Down);
    QCOMPARE(clicks.size(), kTiles.size() - 1);
}

void TestMainForm::keys_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");

    QTest::newRow("Up") << 16 << int(Qt::Key_Up) << 15;
    QTest::newRow("Down") << 16 << int(Qt::Key_Down) << 17;
    QTest::newRow("Home") << 16 << int(Qt::Key_Home) << 0;
    QTest::newRow("End") << 16 << int(Qt::Key_End) << 27;
    QTest::newRow("digit 4 jumps to 4:4") << 16 << int(Qt::Key_4) << 22;
    QTest::newRow("digit 2 goes on to 2:6") << 16 << int(Qt::Key_2) << 17;
    QTest::newRow("digit wraps round") << 27 << int(Qt::Key_0) << 0;
    QTest::newRow("Page Down moves further down") << 0 << int(Qt::Key_PageDown) << -2;
    QTest::newRow("Page Up moves further up") << 27 << int(Qt::Key_PageUp) << -1;
}

void TestMainForm::keys()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);

    Window window;
    window.clickTile(from);
    QSignalSpy clicks(window.form.List1, &ListBox::Click);
    QTest::keyClick(window.form.List1, Qt::Key(key));

    const int row = window.form.List1->ListIndex();
    if (to == -2)
        QVERIFY2(row > from + 1, qPrintable(QString::number(row)));
    else if (to == -1)
        QVERIFY2(row < from - 1, qPrintable(QString::number(row)));
    else
        QCOMPARE(row, to);
    QCOMPARE(clicks.size(), 1);
    const QString label = kTiles[row];
    QCOMPARE(window.report(), reportFor(label));
    QCOMPARE(
        expected::differences(window.tileOnScreen(),
                              window.tileExpected(label[0].digitValue(), label[2].digitValue())),
        QString());
}

void TestMainForm::homeSelectsTheCurrentRowWhenNothingIsSelected()
{
    Window window;
    QSignalSpy clicks(window.form.List1, &ListBox::Click);
    // Tabbing into the list makes the first row current, which is not a pick.
    window.form.List1->setFocus(Qt::TabFocusReason);
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(window.form.List1->ListIndex(), -1);
    QVERIFY(window.report().startsWith(kDescriptionStart));

    QTest::keyClick(window.form.List1, Qt::Key_Home);
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(window.form.List1->ListIndex(), 0);
    QCOMPARE(window.report(), reportFor("0:0"));
}

void TestMainForm::clear_data()
{
    QTest::addColumn<int>("pickFirst");
    QTest::addColumn<int>("presses");

    QTest::newRow("after a pick") << 27 << 1;
    QTest::newRow("with nothing picked") << -1 << 1;
    QTest::newRow("twice in a row") << 16 << 2;
}

void TestMainForm::clear()
{
    QFETCH(int, pickFirst);
    QFETCH(int, presses);

    Window window;
    if (pickFirst >= 0)
        window.clickTile(pickFirst);
    QSignalSpy clicks(window.form.List1, &ListBox::Click);
    for (int press = 0; press < presses; ++press)
        QTest::mouseClick(window.form.Command1, Qt::LeftButton);

    // Deselecting runs the pick flow once per press, with nothing selected.
    QCOMPARE(clicks.size(), presses);
    QCOMPARE(window.form.List1->ListIndex(), -1);
    QVERIFY(!window.form.List1->currentIndex().isValid());
    QCOMPARE(window.report(), kPrompt);
    QCOMPARE(window.form.UpperPips, std::optional<double>(0));
    QCOMPARE(window.form.LowerPips, 0);
    QCOMPARE(expected::differences(window.tileOnScreen(), window.tileExpected(0, 0)), QString());
}

void TestMainForm::pickAfterClearIsLikeTheFirstPick()
{
    Window window;
    window.clickTile(16);
    const QByteArray firstReport = window.report();
    const QImage firstTile = window.tileOnScreen();

    QTest::mouseClick(window.form.Command1, Qt::LeftButton);
    window.clickTile(16);
    QCOMPARE(window.report(), firstReport);
    QCOMPARE(window.tileOnScreen(), firstTile);

    // From the keyboard too: after clearing, Down starts again from the top.
    QTest::mouseClick(window.form.Command1, Qt::LeftButton);
    QTest::keyClick(window.form.List1, Qt::Key_Down);
    QCOMPARE(window.form.List1->ListIndex(), 0);
    QCOMPARE(window.report(), reportFor("0:0"));
}

void TestMainForm::drawingSurvivesRepaints()
{
    Window window;
    window.clickTile(27);
    const QImage shown = window.tileExpected(6, 6);

    window.form.hide();
    window.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window.form));
    QCOMPARE(expected::differences(window.tileOnScreen(), shown), QString());

    window.form.Picture1->repaint();
    QCOMPARE(expected::differences(window.tileOnScreen(), shown), QString());
}

// Counts paint events by the widget that received them.
class PaintCounter : public QObject
{
public:
    QHash<QObject*, int> paints;
    QHash<QObject*, QRegion> regions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints[watched];
            regions[watched] += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

void TestMainForm::pickRepaintsOnlyWhatChanged()
{
    Window window;
    window.clickTile(1);
    window.clickTile(2);
    QCoreApplication::processEvents();

    PaintCounter counter;
    qApp->installEventFilter(&counter);
    QTest::keyClick(window.form.List1, Qt::Key_Down); // 0:2 -> 0:3, both in view
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&counter);

    // The tile, the report and the two list rows; the heading, the photograph, the button
    // and the window's background stay as they were.
    QCOMPARE(counter.paints.value(window.form.Picture1), 1);
    QCOMPARE(counter.paints.value(window.form.Text1->viewport()), 1);
    // Of the report only the label changed, not the line that leads up to it.
    QVERIFY(!counter.regions.value(window.form.Text1->viewport()).contains(QPoint(10, 10)));
    QCOMPARE(window.reportOnScreenDiffers(), QString());
    QCOMPARE(counter.paints.value(window.form.List1->viewport()), 1);
    for (QObject* untouched :
         {static_cast<QObject*>(&window.form), static_cast<QObject*>(window.form.Label1),
          static_cast<QObject*>(window.form.Picture2), static_cast<QObject*>(window.form.Command1),
          static_cast<QObject*>(window.form.Text1->verticalScrollBar())}) {
        QCOMPARE(counter.paints.value(untouched), 0);
    }
}

void TestMainForm::screenReadersHearTheTile_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("thenClear");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("entryDescription");

    QTest::newRow("nothing picked") << -1 << false << "Не е избрана плочка." << QString();
    QTest::newRow("2:5") << 16 << false
                         << "Плочка 2:5: 2 точки в горната половина и 5 точки в долната."
                         << "2 точки в горната половина и 5 точки в долната. Плочката може да "
                            "се разглежда и като: 5:2";
    QTest::newRow("1:1") << 7 << false
                         << "Плочка 1:1: 1 точка в горната половина и 1 точка в долната."
                         << "1 точка в горната половина и 1 точка в долната. Избраната плочка е "
                            "симетрична!";
    QTest::newRow("0:6") << 6 << false
                         << "Плочка 0:6: 0 точки в горната половина и 6 точки в долната."
                         << "0 точки в горната половина и 6 точки в долната. Плочката може да "
                            "се разглежда и като: 6:0";
    QTest::newRow("cleared") << 16 << true << "Не е избрана плочка."
                             << "2 точки в горната половина и 5 точки в долната. Плочката може "
                                "да се разглежда и като: 5:2";
}

// The tile says what it shows; each entry says, after its label, what picking it shows; and a
// clear says the prompt: announced from Qt 6.8 on, as a notification before.
void TestMainForm::screenReadersHearTheTile()
{
    QFETCH(int, row);
    QFETCH(bool, thenClear);
    QFETCH(QString, description);
    QFETCH(QString, entryDescription);

    Window window;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    announced.clear();
    const auto previousHandler = QAccessible::installUpdateHandler(recordAnnouncements);
    const auto restoreHandler =
        qScopeGuard([previousHandler] { QAccessible::installUpdateHandler(previousHandler); });
#endif
    if (row >= 0)
        window.clickTile(row);
    if (thenClear)
        QTest::mouseClick(window.form.Command1, Qt::LeftButton);

    QAccessibleInterface* tile = QAccessible::queryAccessibleInterface(window.form.Picture1);
    QVERIFY(tile);
    QCOMPARE(tile->role(), QAccessible::Graphic);
    QCOMPARE(tile->text(QAccessible::Name), "Рисунка на плочката");
    QCOMPARE(tile->text(QAccessible::Description), description);

    if (row >= 0) {
        QAccessibleInterface* entry =
            QAccessible::queryAccessibleInterface(window.form.List1)->child(row);
        QCOMPARE(entry->text(QAccessible::Name), kTiles[row]);
        QCOMPARE(entry->text(QAccessible::Description), entryDescription);
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QCOMPARE(announced, thenClear ? QStringList{kPrompt} : QStringList());
#else
    QAccessibleInterface* notice = QAccessible::queryAccessibleInterface(window.form.announcer);
    QCOMPARE(notice->role(), QAccessible::Notification);
    QCOMPARE(notice->text(QAccessible::Name), thenClear ? QString(kPrompt) : QString());
#endif
}

QTEST_MAIN(TestMainForm)
#include "tst_main_form.moc"
