// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

class QTouchEvent;
#include <cstdint>
#include <string>

// A single-selection list of text entries, in the order added. Click is raised exactly once
// whenever the selection is set: by a mouse press on an entry (the selected one included), by
// the arrow, Home, End and page keys, by typing an entry's first character, or by writing
// ListIndex. Giving the list the focus, which makes a row current, selects nothing. The user
// cannot empty the selection; only writing ListIndex = -1 does. Screen readers hear every
// selection as the focus reaching its row, the current row included. A finger swipes the list
// along and selects nothing; a tap on an entry selects it as a click does, when the finger
// lifts.
class ListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit ListBox(QWidget* parent = nullptr);

    void Clear();
    // The description is what screen readers say of the entry after its text.
    void AddItem(const std::string& text, const QString& description = QString());
    std::int16_t ListCount() const;
    // -1 when no entry is selected.
    std::int16_t ListIndex() const;
    // -1 removes the selection; an index outside the list is ignored.
    void SetListIndex(std::int16_t index);
    // The entry's text; the empty text for -1 or any index outside the list.
    std::string List(std::int16_t index) const;

signals:
    void Click();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void select(int row);
    void tellScreenReadersRowHasFocus(int row);
    int rowStartingWith(const QString& text) const;
    bool touchEvent(QTouchEvent* event);

    // The row a finger went down on, while it may still be a tap; -1 once it is a swipe.
    int tappedRow_ = -1;
};
