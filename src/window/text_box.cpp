// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_box.h"

#include <QScrollBar>
#include <QTextCursor>
#include <utility>

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Nobody can undo in a read-only box; without this every report would be kept forever.
    document()->setUndoRedoEnabled(false);
}

void TextBox::SetText(std::string text)
{
    text_ = std::move(text);
    QString shown = QString::fromStdString(text_);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Replacing the text in place, rather than setPlainText, leaves the scroll bar alone
    // when its range stays the same, so it is not repainted at every pick.
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.insertText(shown);
    // Moving the cursor lays the text out. Until the box is shown it does not know its width,
    // so the move waits for the show and the text is laid out once, at the width it is shown.
    if (isVisible())
        moveCursor(QTextCursor::Start);
    else
        cursorToStartOnShow_ = true;
    verticalScrollBar()->setValue(0);
}

void TextBox::showEvent(QShowEvent* event)
{
    QPlainTextEdit::showEvent(event);
    if (std::exchange(cursorToStartOnShow_, false))
        moveCursor(QTextCursor::Start);
}
