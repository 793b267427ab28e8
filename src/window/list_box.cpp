// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_box.h"

#include "accessibility.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QScrollEvent>
#include <QScrollPrepareEvent>
#include <QScroller>
#include <QTouchEvent>

ListBox::ListBox(QWidget* parent) : QListWidget(parent)
{
    // Before the entries are added, which makes Qt ask for the list's interface.
    installWindowAccessibility();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    // The scroll bar paints every pixel it covers; saying so spares repainting the list's
    // frame and the window behind it each time the list scrolls.
    verticalScrollBar()->setAttribute(Qt::WA_OpaquePaintEvent);
    // A finger flicks the list as on a phone; a mouse still selects what it drags over.
    QScroller::grabGesture(viewport(), QScroller::TouchGesture);
    connect(QScroller::scroller(viewport()), &QScroller::stateChanged, this,
            [this](QScroller::State state) {
                if (state == QScroller::Dragging || state == QScroller::Scrolling)
                    tappedRow_ = -1;
            });
}

void ListBox::Clear()
{
    clear();
}

void ListBox::AddItem(const std::string& text, const QString& description)
{
    auto* entry = new QListWidgetItem(QString::fromStdString(text));
    entry->setData(Qt::AccessibleDescriptionRole, description);
    addItem(entry);
}

std::int16_t ListBox::ListCount() const
{
    return static_cast<std::int16_t>(count());
}

std::int16_t ListBox::ListIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? std::int16_t(-1) : static_cast<std::int16_t>(selected[0].row());
}

void ListBox::SetListIndex(std::int16_t index)
{
    if (index == -1) {
        // Clearing the selection alone would leave a current row that the keys start from.
        selectionModel()->clear();
        emit Click();
    } else if (index >= 0 && index < count()) {
        select(index);
    }
}

std::string ListBox::List(std::int16_t index) const
{
    const QListWidgetItem* entry = item(index);
    return entry ? entry->text().toStdString() : std::string();
}

// Qt's own selection handling would let Ctrl+click and Ctrl+Space empty the selection and
// would ignore a click on the selected entry; every selection goes through select() instead.
QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex&,
                                                              const QEvent*) const
{
    return QItemSelectionModel::NoUpdate;
}

void ListBox::select(int row)
{
    const QModelIndex index = model()->index(row, 0);
    const bool alreadyCurrent = index == currentIndex();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    // Qt tells screen readers of a new current row only; on the current one the pick would
    // go unheard (Home straight after entering the list, or a click on that row).
    if (alreadyCurrent)
        tellScreenReadersRowHasFocus(row);
    scrollTo(index);
    emit Click();
}

void ListBox::tellScreenReadersRowHasFocus(int row)
{
    if (!QAccessible::isActive() || !hasFocus())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}

void ListBox::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        select(index.row());
    event->accept();
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a click like any other.
    mousePressEvent(event);
}

void ListBox::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging with the button held moves the selection along, one Click per entry reached.
    const QModelIndex index = indexAt(event->position().toPoint());
    if ((event->buttons() & Qt::LeftButton) && index.isValid() && index.row() != ListIndex())
        select(index.row());
    event->accept();
}

void ListBox::keyPressEvent(QKeyEvent* event)
{
    CursorAction action;
    bool moves = true;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        action = MoveUp;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        action = MoveDown;
        break;
    case Qt::Key_Home:
        action = MoveHome;
        break;
    case Qt::Key_End:
        action = MoveEnd;
        break;
    case Qt::Key_PageUp:
        action = MovePageUp;
        break;
    case Qt::Key_PageDown:
        action = MovePageDown;
        break;
    default:
        moves = false;
        break;
    }

    int row = -1;
    if (moves) {
        // With no current row Qt answers the first row whatever the key; End still means
        // the last.
        row = !currentIndex().isValid() && action == MoveEnd
                  ? count() - 1
                  : moveCursor(action, Qt::NoModifier).row();
    } else if (event->key() == Qt::Key_Space) {
        event->accept(); // would toggle the selection in Qt; selects nothing here
        return;
    } else if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
               !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        row = rowStartingWith(event->text());
    } else {
        QListWidget::keyPressEvent(event);
        return;
    }

    // A key that lands on the selected entry sets nothing; with nothing selected it selects
    // even the current row.
    if (row >= 0 && row != ListIndex())
        select(row);
    event->accept();
}

bool ListBox::viewportEvent(QEvent* event)
{
    // The list scrolls by whole rows, so the scroller's pixels are turned into rows here.
    const int rowHeight = qMax(1, sizeHintForRow(0));
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        return touchEvent(static_cast<QTouchEvent*>(event));
    case QEvent::ScrollPrepare: {
        auto* prepare = static_cast<QScrollPrepareEvent*>(event);
        prepare->setViewportSize(viewport()->size());
        prepare->setContentPosRange(QRectF(0, 0, 0, verticalScrollBar()->maximum() * rowHeight));
        prepare->setContentPos(QPointF(0, verticalScrollBar()->value() * rowHeight));
        prepare->accept();
        return true;
    }
    case QEvent::Scroll:
        verticalScrollBar()->setValue(
            qRound(static_cast<QScrollEvent*>(event)->contentPos().y() / rowHeight));
        return true;
    default:
        return QListWidget::viewportEvent(event);
    }
}

// Touches are taken here, so Qt makes no mouse presses of them: a swipe would drag the
// selection along.
bool ListBox::touchEvent(QTouchEvent* event)
{
    const bool oneFinger = event->points().size() == 1;
    const QPointF at = oneFinger ? event->points().first().position() : QPointF();
    switch (event->type()) {
    case QEvent::TouchBegin:
        tappedRow_ = oneFinger ? indexAt(at.toPoint()).row() : -1;
        break;
    case QEvent::TouchUpdate:
        if (!oneFinger || (at - event->points().first().pressPosition()).manhattanLength() >
                              QApplication::startDragDistance())
            tappedRow_ = -1;
        break;
    case QEvent::TouchEnd:
        if (tappedRow_ >= 0 && oneFinger && indexAt(at.toPoint()).row() == tappedRow_)
            select(tappedRow_);
        tappedRow_ = -1;
        break;
    default:
        tappedRow_ = -1;
        break;
    }
    event->accept();
    return true;
}

// The next entry after the selected (or current) one that starts with the typed character,
// wrapping round to the top, as list boxes on the desktop do.
int ListBox::rowStartingWith(const QString& text) const
{
    const int rows = count();
    const int from = currentIndex().isValid() ? currentIndex().row() : -1;
    for (int step = 1; step <= rows; ++step) {
        const int row = (from + step) % rows;
        if (item(row)->text().startsWith(text.left(1), Qt::CaseInsensitive))
            return row;
    }
    return -1;
}
