// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>
#include <QTextBlock>
#include <string>

// A multi-line, word-wrapped report box that the user can read, select and copy from but not
// type into. Text reads back exactly what was written, CR LF line ends included.
class TextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);

    const std::string& Text() const { return text_; }
    // Replaces the whole text and shows it from the top.
    void SetText(std::string text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool replaceChangedCharacters(const QString& shown);
    QRect restOfBlock(const QTextBlock& block, int from) const;

    bool cursorToStartOnShow_ = false;
    // Kept as written: the document holds paragraphs, not line-end bytes.
    std::string text_;
};
