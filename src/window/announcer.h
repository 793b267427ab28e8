// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// Says a short text to screen readers, wherever the focus is; nothing appears on screen. From
// Qt 6.8 on it is an announcement, which AT-SPI and UI Automation carry as such. Qt 6.4 has no
// announcement event, but screen readers speak a notification as it is shown, so there the text
// becomes the name of a notification shown for a moment.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent = nullptr);

    void say(const QString& text);
};
