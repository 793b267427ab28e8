// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// Shows a window larger or smaller in the steps of kZoomSteps: the window, its controls, its
// fonts and its drawing grow together, as they do when Qt is started with QT_SCALE_FACTOR.
// The window's own zoom actions (Ctrl+Plus or Ctrl+=, Ctrl+Minus, Ctrl+0) and Ctrl+wheel over
// it step it. A step that would not fit the screen's free area, or the ceiling, is not taken,
// nor one that would give the window fewer screen pixels than its own (75 % on an ordinary
// screen; a phone's or a high-resolution screen has them).
class WindowZoom : public QObject
{
    Q_OBJECT

public:
    // Call before the window is created, to start at a zoom as QT_SCALE_FACTOR would (at 100 %
    // where the screen cannot show that zoom).
    static void startAt(int percent);

    explicit WindowZoom(QWidget* window);

    int percent() const { return percent_; }
    // Whether the window now shows at that step.
    bool setPercent(int percent);
    // The largest step the keys and the wheel may reach, besides the screen's own limit.
    void setCeiling(int percent);

signals:
    // Only when the zoom has changed.
    void changed(int percent);

protected:
    // Ctrl+wheel: over the window, and passed on to it by its scrolling controls, which would
    // otherwise scroll or enlarge their own text.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool fits(int percent) const;
    void apply(int percent);

    QWidget* window_;
    int percent_;
    int ceiling_;
};
