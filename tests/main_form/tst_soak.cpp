// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
// A long seeded random walk of what a pupil can do to the window, with the whole visible state
// checked after every step against the test's own model of the list. DOMINO_SOAK_SEED and
// DOMINO_SOAK_ACTIONS choose the walk; a failure names both, so it can be replayed exactly.

#include "command_button.h"
#include "expected_tile.h"
#include "expected_window.h"
#include "list_box.h"
#include "main_form.h"
#include "picture_box.h"
#include "text_box.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <utility>

#ifdef __SANITIZE_ADDRESS__
#include <QScopeGuard>
#include <sanitizer/common_interface_defs.h>
#endif

using expected::kDescriptionStart;
using expected::kPrompt;
using expected::reportFor;
const QStringList& kLabels = expected::kTiles;

namespace {

constexpr std::uint64_t kDefaultSeed = 20240611;
constexpr std::uint64_t kDefaultActions = 5000;
constexpr std::size_t kHistory = 10;

const int kRows = int(kLabels.size());
const int kLastRow = kRows - 1;

// Line ends shown as \r\n, so that a report in a failure message stays on one line.
QString readable(const QByteArray& text)
{
    return QString::fromUtf8(text).replace("\r", "\\r").replace("\n", "\\n");
}

int upperOf(int row)
{
    return kLabels[row][0].digitValue();
}

int lowerOf(int row)
{
    return kLabels[row][2].digitValue();
}

// Reads a whole number from the environment; the default when unset, nothing when malformed.
std::optional<std::uint64_t> environmentNumber(const char* name, std::uint64_t fallback)
{
    const QByteArray text = qgetenv(name).trimmed();
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    return ok ? std::optional<std::uint64_t>(value) : std::nullopt;
}

enum class Focus { Report, List, Clear };

const char* focusName(Focus focus)
{
    switch (focus) {
    case Focus::Report:
        return "Text1";
    case Focus::List:
        return "List1";
    case Focus::Clear:
        return "Command1";
    }
    return "?";
}

// What the window must show, as the pupil's actions leave it.
struct Model
{
    enum class Report { Description, Tile, Prompt };

    int selected = -1;
    int current = -1;
    Focus focus = Focus::Report;
    Report report = Report::Description;
    int reportRow = -1;
    std::optional<double> upperPips;
    int lowerPips = 0;
    int tileUpper = 0;
    int tileLower = 0;
    // Runs of the pick flow the last action must have caused.
    int clicks = 0;

    void pick(int row)
    {
        selected = current = row;
        report = Report::Tile;
        reportRow = row;
        upperPips = upperOf(row);
        lowerPips = tileLower = lowerOf(row);
        tileUpper = upperOf(row);
        ++clicks;
    }

    // A key that lands on the selected entry does nothing at all.
    void land(int row)
    {
        if (row != selected)
            pick(row);
    }

    void clear()
    {
        selected = current = -1;
        report = Report::Prompt;
        upperPips = 0;
        lowerPips = tileUpper = tileLower = 0;
        focus = Focus::Clear;
        ++clicks;
    }

    // Focus that comes by the keyboard or by the window's activation makes the first row
    // current when none is, and selects nothing.
    void listGetsFocus()
    {
        focus = Focus::List;
        if (current == -1)
            current = 0;
    }

    void focusNext()
    {
        if (focus == Focus::Report)
            listGetsFocus();
        else
            focus = focus == Focus::List ? Focus::Clear : Focus::Report;
    }

    void focusPrevious()
    {
        if (focus == Focus::Clear)
            listGetsFocus();
        else
            focus = focus == Focus::List ? Focus::Report : Focus::Clear;
    }
};

enum class Action {
    ClickRow,
    ClickSelected,
    CtrlClickSelected,
    ScrollOnly,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    Digit,
    Clear,
    Tab,
    BackTab,
    HideShow,
    RepaintTile,
    RepaintForm,
};

// Weights: mostly picking and keys, now and then the rest.
const std::vector<std::pair<Action, int>> kWeights = {
    {Action::ClickRow, 14},
    {Action::ClickSelected, 4},
    {Action::CtrlClickSelected, 3},
    {Action::ScrollOnly, 2},
    {Action::Up, 5},
    {Action::Down, 5},
    {Action::Left, 3},
    {Action::Right, 3},
    {Action::Home, 3},
    {Action::End, 3},
    {Action::PageUp, 3},
    {Action::PageDown, 3},
    {Action::Digit, 14},
    {Action::Clear, 5},
    {Action::Tab, 4},
    {Action::BackTab, 4},
    {Action::HideShow, 1},
    {Action::RepaintTile, 2},
    {Action::RepaintForm, 2},
};

class Walk
{
public:
    explicit Walk(std::uint64_t seed) : random_(seed)
    {
        for (const auto& [action, weight] : kWeights)
            totalWeight_ += weight;
        const QPalette palette = form_.Picture1->palette();
        ink_ = palette.color(QPalette::ButtonText);
        face_ = palette.color(QPalette::Button);
        connect();
    }

    // Empty when the window came up as a pupil first sees it.
    QString start()
    {
        form_.show();
        if (!QTest::qWaitForWindowExposed(&form_) || !QTest::qWaitForWindowActive(&form_))
            return "the window did not come up";
        description_ = QByteArray::fromStdString(form_.Text1->Text());
        if (!description_.startsWith(kDescriptionStart))
            return "the start-up description is not in the report box";
        return check();
    }

    // Runs one action; empty when everything on show is what the model says.
    QString step(long long number)
    {
        number_ = number;
        model_.clicks = 0;
        clicksSeen_ = 0;
        QString problem;
        const QString done = act(problem);
        history_.push_back(QString("#%1 %2").arg(number).arg(done));
        if (history_.size() > kHistory)
            history_.pop_front();
        return problem.isEmpty() ? check() : problem;
    }

    QStringList history() const { return QStringList(history_.begin(), history_.end()); }
    long long number() const { return number_; }

private:
    void connect()
    {
        QObject::connect(form_.List1, &ListBox::Click, [this] { ++clicksSeen_; });
    }

    int below(int bound) { return int(random_() % std::uint64_t(bound)); }

    Action nextAction()
    {
        int roll = below(totalWeight_);
        for (const auto& [action, weight] : kWeights) {
            if (roll < weight)
                return action;
            roll -= weight;
        }
        return Action::ClickRow;
    }

    QString act(QString& problem)
    {
        switch (nextAction()) {
        case Action::ClickRow:
            return clickRow(below(kRows), {}, problem);
        case Action::ClickSelected:
            return clickRow(rowOnShow(), {}, problem);
        case Action::CtrlClickSelected:
            return clickRow(rowOnShow(), Qt::ControlModifier, problem);
        case Action::ScrollOnly:
            return scrollOnly();
        case Action::Up:
            return arrow(Qt::Key_Up, -1);
        case Action::Down:
            return arrow(Qt::Key_Down, +1);
        case Action::Left:
            return arrow(Qt::Key_Left, -1);
        case Action::Right:
            return arrow(Qt::Key_Right, +1);
        case Action::Home:
            return jump(Qt::Key_Home, 0);
        case Action::End:
            return jump(Qt::Key_End, kLastRow);
        case Action::PageUp:
            return page(Qt::Key_PageUp, problem);
        case Action::PageDown:
            return page(Qt::Key_PageDown, problem);
        case Action::Digit:
            return digit(below(10));
        case Action::Clear:
            return clickClear();
        case Action::Tab: {
            const QString done = describeKey("Tab");
            key(Qt::Key_Tab);
            model_.focusNext();
            return done;
        }
        case Action::BackTab: {
            const QString done = describeKey("Shift+Tab");
            key(Qt::Key_Backtab, Qt::ShiftModifier);
            model_.focusPrevious();
            return done;
        }
        case Action::HideShow:
            return hideAndShow(problem);
        case Action::RepaintTile:
            form_.Picture1->repaint();
            problem = screenCheck();
            return "Picture1->repaint()";
        case Action::RepaintForm:
            form_.repaint();
            problem = screenCheck();
            return "form.repaint()";
        }
        return "nothing";
    }

    // The selected row, or the current one, or any, for the clicks aimed at the selection.
    int rowOnShow()
    {
        if (model_.selected >= 0)
            return model_.selected;
        return model_.current >= 0 ? model_.current : below(kRows);
    }

    QPoint inWindow(const QWidget* widget, QPoint point) const
    {
        return widget->mapTo(&form_, point);
    }

    void click(const QWidget* widget, QPoint point, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(form_.windowHandle(), Qt::LeftButton, modifiers, inWindow(widget, point));
    }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(form_.windowHandle(), key, modifiers);
    }

    bool rowInView(int row) const
    {
        const QRect entry = form_.List1->visualItemRect(form_.List1->item(row));
        return form_.List1->viewport()->rect().contains(entry);
    }

    QRect arrowRect(QStyle::SubControl part) const
    {
        const QScrollBar* bar = form_.List1->verticalScrollBar();
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.subControls = QStyle::SC_All;
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
    }

    // Clicks the scroll bar's arrows, as a pupil would, until the row is wholly in view.
    bool scrollWithTheBar(int row)
    {
        const QScrollBar* bar = form_.List1->verticalScrollBar();
        for (int clicks = 0; clicks <= kRows && !rowInView(row); ++clicks) {
            const bool up = form_.List1->visualItemRect(form_.List1->item(row)).top() < 0;
            const QRect arrow =
                arrowRect(up ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine);
            if (arrow.isEmpty())
                return false;
            click(bar, arrow.center());
        }
        return rowInView(row);
    }

    QString clickRow(int row, Qt::KeyboardModifiers modifiers, QString& problem)
    {
        QString how = "scrollToItem";
        if (below(2) == 0 && !rowInView(row)) {
            how = "the scroll bar";
            if (!scrollWithTheBar(row))
                problem = "the scroll bar did not bring the row into view";
        } else {
            form_.List1->scrollToItem(form_.List1->item(row));
        }
        if (problem.isEmpty() && !rowInView(row))
            problem = "the row is not wholly in view after scrolling";
        const QPoint centre = form_.List1->visualItemRect(form_.List1->item(row)).center();
        click(form_.List1->viewport(), centre, modifiers);
        // A press on an entry picks it, even the one already picked; Ctrl changes nothing.
        model_.focus = Focus::List;
        model_.pick(row);
        return QString("%1click on row %2 (%3) after %4")
            .arg(modifiers & Qt::ControlModifier ? "Ctrl+" : "")
            .arg(row)
            .arg(kLabels[row], how);
    }

    QString scrollOnly()
    {
        const bool down = below(2) == 0;
        click(form_.List1->verticalScrollBar(),
              arrowRect(down ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine).center());
        // A press brings the focus but makes no row current.
        model_.focus = Focus::List;
        return QString("scroll bar arrow %1").arg(down ? "down" : "up");
    }

    QString describeKey(const QString& name) const
    {
        return QString("%1 in %2").arg(name, focusName(model_.focus));
    }

    // Left and Up, Right and Down move the same way in the list; on the button they move the
    // focus to the previous or the next control.
    QString arrow(Qt::Key which, int direction)
    {
        const QString done = describeKey(QKeySequence(which).toString());
        key(which);
        if (model_.focus == Focus::List) {
            model_.land(model_.current == -1 ? 0
                                             : std::clamp(model_.current + direction, 0, kLastRow));
        } else if (model_.focus == Focus::Clear) {
            if (which == Qt::Key_Up || which == Qt::Key_Left)
                model_.focusPrevious();
            else
                model_.focusNext();
        }
        return done;
    }

    QString jump(Qt::Key which, int row)
    {
        const QString done = describeKey(QKeySequence(which).toString());
        key(which);
        if (model_.focus == Focus::List)
            model_.land(row);
        return done;
    }

    // How far a page goes depends on the font; any row the right way is taken and adopted.
    QString page(Qt::Key which, QString& problem)
    {
        const bool down = which == Qt::Key_PageDown;
        const QString done = describeKey(down ? "PageDown" : "PageUp");
        key(which);
        if (model_.focus != Focus::List)
            return done;

        const int from = model_.current;
        if (from == -1 || from == (down ? kLastRow : 0)) {
            model_.land(from == -1 ? 0 : from);
            return done;
        }
        const int row = form_.List1->ListIndex();
        const bool rightWay = down ? row > from && row <= kLastRow : row >= 0 && row < from;
        if (!rightWay)
            problem = QString("%1 from row %2 went to row %3").arg(done).arg(from).arg(row);
        else
            model_.land(row);
        return QString("%1 (to row %2)").arg(done).arg(row);
    }

    // Type-ahead: the next entry after the current one that starts with the digit, round
    // from the top; 7, 8 and 9 start no entry.
    QString digit(int value)
    {
        const QChar typed = QChar('0' + value);
        const QString done = describeKey(QString(typed));
        key(Qt::Key(Qt::Key_0 + value));
        if (model_.focus != Focus::List)
            return done;
        for (int step = 1; step <= kRows; ++step) {
            const int row = (model_.current + step + kRows) % kRows;
            if (kLabels[row].startsWith(typed)) {
                model_.land(row);
                break;
            }
        }
        return done;
    }

    QString clickClear()
    {
        click(form_.Command1, form_.Command1->rect().center());
        model_.clear();
        return "click on Command1";
    }

    QString hideAndShow(QString& problem)
    {
        form_.hide();
        form_.show();
        // A window manager activates the window it shows again; the offscreen platform still
        // holds it as its focus window and so does not, which this stands in for.
        // activateWindow() would not do: to the platform the window is active already. Qt 6.8
        // deprecates this call but has nothing public that does the same.
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(&form_);
        QT_WARNING_POP
        if (!QTest::qWaitForWindowExposed(&form_) || !QTest::qWaitForWindowActive(&form_))
            problem = "the window did not come back";
        else
            problem = screenCheck();
        // The focus comes back to the control that had it, as by activation.
        if (model_.focus == Focus::List)
            model_.listGetsFocus();
        return "hide and show the window";
    }

    const QImage& expectedTile(int upper, int lower)
    {
        auto found = expectedTiles_.find({upper, lower});
        if (found == expectedTiles_.end())
            found = expectedTiles_
                        .emplace(std::make_pair(upper, lower),
                                 expected::tileArea(upper, lower, ink_, face_))
                        .first;
        return found->second;
    }

    QString compareTile(const QImage& shown, const char* where)
    {
        const QImage& wanted = expectedTile(model_.tileUpper, model_.tileLower);
        if (shown == wanted)
            return {};
        return QString("%1 does not show tile %2:%3; pixels differ at %4")
            .arg(where)
            .arg(model_.tileUpper)
            .arg(model_.tileLower)
            .arg(expected::differences(shown, wanted));
    }

    // What reached the screen, rather than what a fresh paint would draw.
    QString screenCheck()
    {
        const QPoint corner = inWindow(form_.Picture1, QPoint(2, 2));
        const QImage shown =
            form_.screen()
                ->grabWindow(form_.winId(), corner.x(), corner.y(), expected::kTileArea.width(),
                             expected::kTileArea.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        return compareTile(shown, "the screen");
    }

    QString check()
    {
        const ListBox& list = *form_.List1;
        if (list.ListCount() != kRows)
            return QString("ListCount is %1").arg(list.ListCount());
        for (int row = 0; row < kRows; ++row) {
            if (QString::fromStdString(list.List(std::int16_t(row))) != kLabels[row])
                return QString("entry %1 reads %2")
                    .arg(row)
                    .arg(QString::fromStdString(list.List(std::int16_t(row))));
        }
        if (list.ListIndex() != model_.selected)
            return QString("ListIndex is %1, expected %2")
                .arg(list.ListIndex())
                .arg(model_.selected);
        const int current = list.currentIndex().isValid() ? list.currentIndex().row() : -1;
        if (current != model_.current)
            return QString("the current row is %1, expected %2").arg(current).arg(model_.current);
        if (clicksSeen_ != model_.clicks)
            return QString("the pick flow ran %1 times, expected %2")
                .arg(clicksSeen_)
                .arg(model_.clicks);
        // Whatever picks a tile brings it into view and shows the report from its top.
        if (model_.clicks > 0 && model_.selected >= 0 && !rowInView(model_.selected))
            return QString("the picked row %1 is not wholly in view").arg(model_.selected);
        if (model_.clicks > 0 && form_.Text1->verticalScrollBar()->value() != 0)
            return "the report is not shown from its top";

        QByteArray report = description_;
        if (model_.report == Model::Report::Tile)
            report = reportFor(kLabels[model_.reportRow]);
        else if (model_.report == Model::Report::Prompt)
            report = kPrompt;
        const QByteArray shownReport = QByteArray::fromStdString(form_.Text1->Text());
        if (shownReport != report)
            return QString("the report reads \"%1\", expected \"%2\"")
                .arg(readable(shownReport), readable(report));

        if (form_.UpperPips != model_.upperPips)
            return QString("UpperPips is %1, expected %2")
                .arg(form_.UpperPips ? QString::number(*form_.UpperPips) : "empty")
                .arg(model_.upperPips ? QString::number(*model_.upperPips) : "empty");
        if (form_.LowerPips != model_.lowerPips)
            return QString("LowerPips is %1, expected %2")
                .arg(form_.LowerPips)
                .arg(model_.lowerPips);

        const QWidget* focusWanted = form_.Text1;
        if (model_.focus == Focus::List)
            focusWanted = form_.List1;
        else if (model_.focus == Focus::Clear)
            focusWanted = form_.Command1;
        if (QApplication::focusWidget() != focusWanted)
            return QString("the focus is on %1, expected %2")
                .arg(QApplication::focusWidget()
                         ? QApplication::focusWidget()->metaObject()->className()
                         : "nothing")
                .arg(focusName(model_.focus));

        const QImage shown = form_.Picture1->grab(QRect(QPoint(2, 2), expected::kTileArea))
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        return compareTile(shown, "Picture1");
    }

    MainForm form_;
    Model model_;
    std::mt19937_64 random_;
    int totalWeight_ = 0;
    int clicksSeen_ = 0;
    QColor ink_;
    QColor face_;
    QByteArray description_;
    std::map<std::pair<int, int>, QImage> expectedTiles_;
    std::deque<QString> history_;
    long long number_ = 0;
};

#ifdef __SANITIZE_ADDRESS__
// A sanitizer ends the program on the spot, before any failure message; this still tells
// which walk to replay and what led up to the report.
std::uint64_t dyingSeed = 0;
const Walk* dyingWalk = nullptr;

void tellReplay()
{
    if (!dyingWalk)
        return;
    std::fprintf(stderr, "soak: stopped in action %lld of seed %llu; the actions before it:\n",
                 dyingWalk->number(), (unsigned long long)dyingSeed);
    for (const QString& line : dyingWalk->history())
        std::fprintf(stderr, "  %s\n", line.toLocal8Bit().constData());
}
#endif

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void randomWalk();
};

void TestSoak::randomWalk()
{
    const std::optional<std::uint64_t> seed = environmentNumber("DOMINO_SOAK_SEED", kDefaultSeed);
    QVERIFY2(seed, "DOMINO_SOAK_SEED must be a whole number");
    const std::optional<std::uint64_t> actions =
        environmentNumber("DOMINO_SOAK_ACTIONS", kDefaultActions);
    QVERIFY2(actions, "DOMINO_SOAK_ACTIONS must be a whole number");

    QElapsedTimer timer;
    timer.start();
    Walk walk(*seed);
#ifdef __SANITIZE_ADDRESS__
    dyingSeed = *seed;
    dyingWalk = &walk;
    __sanitizer_set_death_callback(tellReplay);
    const auto forget = qScopeGuard([] { dyingWalk = nullptr; });
#endif
    const QString notUp = walk.start();
    QVERIFY2(notUp.isEmpty(), qPrintable(notUp));

    for (std::uint64_t number = 1; number <= *actions; ++number) {
        const QString problem = walk.step((long long)number);
        if (problem.isEmpty())
            continue;
        const QString message =
            QString("action %1 of seed %2: %3\nlast actions:\n  %4\nreplay with "
                    "DOMINO_SOAK_SEED=%2 DOMINO_SOAK_ACTIONS=%1")
                .arg(number)
                .arg(*seed)
                .arg(problem, walk.history().join("\n  "));
        QFAIL(qPrintable(message));
    }
    qInfo("soak: %llu actions of seed %llu in %lld ms", (unsigned long long)*actions,
          (unsigned long long)*seed, (long long)timer.elapsed());
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
