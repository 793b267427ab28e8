// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_zoom.h"

#include "desktop.h"
#include "qt_scale.h"
#include "zoom_policy.h"
#include "zoom_steps.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace {

// A factor given at start (QT_SCALE_FACTOR) stays under the zoom, as the screen's own does.
qreal startFactor()
{
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && factor > 0 ? factor : 1.0;
}

// The step startAt() chose, where every WindowZoom starts.
int startedAt = kActualSize;

} // namespace

void WindowZoom::startAt(int percent)
{
    if (!ZoomStepIsDrawable(QGuiApplication::primaryScreen()->devicePixelRatio(), percent))
        percent = kActualSize;
    SetQtScale(startFactor() * percent / 100.0);
    startedAt = percent;
}

WindowZoom::WindowZoom(QWidget* window)
    : QObject(window), window_(window), percent_(startedAt), ceiling_(kZoomSteps.back())
{
    const auto addAction = [this](QList<QKeySequence> keys, auto step) {
        auto* action = new QAction(window_);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, [this, step] { setPercent(step(percent_)); });
        window_->addAction(action);
    };
    // Ctrl+= is Ctrl+Plus without Shift on most keyboards; the keypad's plus matches as well.
    addAction(QKeySequence::keyBindings(QKeySequence::ZoomIn)
                  << QKeySequence(Qt::CTRL | Qt::Key_Equal),
              NextZoomStep);
    addAction(QKeySequence::keyBindings(QKeySequence::ZoomOut), PreviousZoomStep);
    addAction({QKeySequence(Qt::CTRL | Qt::Key_0)}, [](int) { return kActualSize; });

    window_->installEventFilter(this);
    for (QAbstractScrollArea* area : window_->findChildren<QAbstractScrollArea*>())
        area->viewport()->installEventFilter(this);
}

bool WindowZoom::setPercent(int percent)
{
    if (percent == percent_)
        return true;
    if (!ZoomStepIsDrawable(window_->screen()->devicePixelRatio() * 100 / percent_, percent) ||
        (percent > percent_ && !fits(percent)))
        return false;
    apply(percent);
    return true;
}

void WindowZoom::setCeiling(int percent)
{
    ceiling_ = percent;
}

bool WindowZoom::fits(int percent) const
{
    const QSize client = window_->size();
    const QSize outer = window_->frameGeometry().size();
    const QSize available = window_->screen()->availableGeometry().size();
    return ZoomStepFits(percent, percent_, ceiling_, {client.width(), client.height()},
                        {outer.width(), outer.height()}, {available.width(), available.height()});
}

void WindowZoom::apply(int percent)
{
    // Where the window's centre is in screen pixels, which the scale does not move.
    QWindow* handle = window_->windowHandle();
    const qreal ratioBefore = handle ? handle->devicePixelRatio() : 1;
    const QPointF centre = QPointF(window_->frameGeometry().center()) * ratioBefore;
    SetQtScale(startFactor() * percent / 100.0);
    percent_ = percent;
    RefitWindowToQtScale(window_, CurrentDesktop().keepsSizeHintsInPixels);
    if (handle)
        CentreWindow(window_, (centre / handle->devicePixelRatio()).toPoint());
    // Every pixel is new: nothing that was drawn at the old scale may stay on screen.
    const auto repaintAll = [window = window_] {
        for (QWidget* child : window->findChildren<QWidget*>())
            child->update();
        window->update();
    };
    repaintAll();
    QTimer::singleShot(0, window_, repaintAll);
    emit changed(percent);
}

bool WindowZoom::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier))
        return false;
    if (watched != window_) {
        // Ignored and taken, it goes on up to the window.
        wheel->ignore();
        return true;
    }
    // A browser gives the wheel in pixels, a mouse in eighths of a degree: one notch is one
    // step whatever its size.
    const int delta = wheel->angleDelta().y();
    if (delta != 0)
        setPercent(delta > 0 ? NextZoomStep(percent_) : PreviousZoomStep(percent_));
    wheel->accept();
    return true;
}
