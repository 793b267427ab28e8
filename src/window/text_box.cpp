// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_box.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <algorithm>
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
    if (replaceChangedCharacters(shown))
        return;
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

// One report follows another with the same lines, mostly differing in a label: only the
// characters that differ are replaced, and only from where they start is repainted.
bool TextBox::replaceChangedCharacters(const QString& shown)
{
    const QStringList lines = shown.split(QLatin1Char('\n'));
    if (!isVisible() || verticalScrollBar()->value() != 0 || lines.size() != blockCount())
        return false;

    QRegion dirty;
    bool rewrapped = false;
    for (int number = 0; number < lines.size() && !rewrapped; ++number) {
        const QTextBlock block = document()->findBlockByNumber(number);
        const QString old = block.text();
        const QString& line = lines[number];
        if (old == line)
            continue;
        int from = 0;
        while (from < old.size() && from < line.size() && old[from] == line[from])
            ++from;
        int tail = 0;
        while (tail < old.size() - from && tail < line.size() - from &&
               old[old.size() - 1 - tail] == line[line.size() - 1 - tail])
            ++tail;

        dirty += restOfBlock(block, from);
        const int lineCount = block.layout()->lineCount();
        const int lineOfChange = block.layout()->lineForTextPosition(from).lineNumber();
        if (lineOfChange < 0)
            return false;
        {
            // The layout would have the whole line, or the whole box, repainted. In one edit
            // block the cursor does not work out its position on screen, which nothing needs.
            const QSignalBlocker quiet(document()->documentLayout());
            QTextCursor change(document());
            change.beginEditBlock();
            change.setPosition(block.position() + from);
            change.setPosition(block.position() + old.size() - tail, QTextCursor::KeepAnchor);
            change.insertText(line.mid(from, line.size() - tail - from));
            change.endEditBlock();
        }
        // The characters before the change stay where they were unless the lines wrap anew.
        const QTextBlock changed = document()->findBlockByNumber(number);
        blockBoundingRect(changed); // lays the block out
        rewrapped = changed.layout()->lineCount() != lineCount ||
                    changed.layout()->lineForTextPosition(from).lineNumber() != lineOfChange;
    }
    if (rewrapped) {
        QAbstractTextDocumentLayout* layout = document()->documentLayout();
        emit layout->documentSizeChanged(layout->documentSize());
        dirty = viewport()->rect();
    }
    viewport()->update(dirty);
    if (textCursor().position() != 0 || textCursor().hasSelection())
        moveCursor(QTextCursor::Start);
    return true;
}

// In the viewport, from where character `from` of a laid-out block is drawn to the block's
// end, with room for a glyph that reaches beyond its advance.
QRect TextBox::restOfBlock(const QTextBlock& block, int from) const
{
    const QRectF bounds = blockBoundingGeometry(block).translated(contentOffset());
    const QTextLine line = block.layout()->lineForTextPosition(from);
    if (!line.isValid())
        return bounds.toAlignedRect().adjusted(0, 0, viewport()->width(), 0);
    const int overhang =
        std::max({0, -fontMetrics().minLeftBearing(), -fontMetrics().minRightBearing()}) + 1;
    const QRectF rest(bounds.left() + line.cursorToX(from), bounds.top() + line.y(),
                      viewport()->width(), bounds.height() - line.y());
    return rest.toAlignedRect().adjusted(-overhang, 0, 0, 0);
}

void TextBox::showEvent(QShowEvent* event)
{
    QPlainTextEdit::showEvent(event);
    if (std::exchange(cursorToStartOnShow_, false))
        moveCursor(QTextCursor::Start);
}
