// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_zoom.h"

#include "zoom_policy.h"
#include "zoom_steps.h"

#include <QApplication>
#include <QBackingStore>
#include <QKeyEvent>
#include <QPixmapCache>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <QtGui/private/qwindow_p.h>
#include <qpa/qplatformwindow.h>
#if defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace {

constexpr char kZoomKey[] = "window/zoom";

// A factor given at start (QT_SCALE_FACTOR) stays under the zoom, as the screen's own does.
qreal startFactor()
{
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && factor > 0 ? factor : 1.0;
}

// Qt has no public way to change its scale while windows exist; this one private call is the
// factor QT_SCALE_FACTOR sets. Qt warns that it is meant for before the first window; the
// window is refitted to it below, which is what that warning is about.
// Exit: when Qt offers a public zoom of the whole window (none up to Qt 6.8).
void setQtScale(qreal factor)
{
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("QHighDpiScaling::setFactor")))
                previous(type, context, message);
        });
    QHighDpiScaling::setGlobalFactor(factor);
    qInstallMessageHandler(previous);
    // The styles size the pictures they keep by the application's ratio, which Qt keeps
    // until a screen changes.
    QGuiApplicationPrivate::resetCachedDevicePixelRatio();
    QPixmapCache::clear();
}

// Whether the user has chosen a zoom that was kept. Windows' QSettings opens its registry key for
// writing even to read it, which creates the key: a start that changed nothing would leave one.
bool anythingRemembered()
{
#if defined(Q_OS_WIN)
    const QString path =
        QStringLiteral("Software\\%1\\%2")
            .arg(QCoreApplication::organizationName(), QCoreApplication::applicationName());
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(path.utf16()), 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
#endif
    return true;
}

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

bool isZoomKey(const QKeyEvent* key, int* step)
{
    if (!(key->modifiers() & Qt::ControlModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        *step = 1;
        return true;
    case Qt::Key_Minus:
        *step = -1;
        return true;
    case Qt::Key_0:
        *step = 0;
        return true;
    default:
        return false;
    }
}

// Where a window manager sizes the window by its size hints, which Qt does not update when its
// own scale changes.
bool tellsWindowManager()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform == QLatin1String("windows");
}

// Qt's painter never draws finer than a screen pixel (Qt 6.4 to 6.8 clamp the ratio at 1): below
// one pixel to the window's pixel the widgets would draw at 100 % into a smaller window.
bool drawable(qreal ratioAt100, int percent)
{
    return ZoomStepIsDrawable(ratioAt100, percent);
}

// The step startAt() chose, where every WindowZoom starts.
int startedAt = kActualSize;

} // namespace

void WindowZoom::startAt(int percent)
{
    if (!drawable(QGuiApplication::primaryScreen()->devicePixelRatio(), percent))
        percent = kActualSize;
    setQtScale(startFactor() * percent / 100.0);
    startedAt = percent;
}

WindowZoom::WindowZoom(QWidget* window)
    : QObject(window), window_(window), percent_(startedAt), ceiling_(kZoomSteps.back())
{
    qApp->installEventFilter(this);
}

bool WindowZoom::setPercent(int percent)
{
    if (percent == percent_)
        return true;
    if (!drawable(window_->screen()->devicePixelRatio() * 100 / percent_, percent) ||
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
    QWindow* handle = window_->windowHandle();
    const QPoint centre =
        window_->frameGeometry().center() * (handle ? handle->devicePixelRatio() : 1);
    setQtScale(startFactor() * percent / 100.0);
    percent_ = percent;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    // Qt 6.6 and later keep each window's ratio until told to look again.
    if (handle)
        QWindowPrivate::get(handle)->updateDevicePixelRatio();
#endif
    if (handle) {
        // Qt keeps the window's size in its own units; its pixels follow only when told.
        handle->resize(window_->size());
        // A window manager keeps the fixed size it was told in pixels: tell it the new ones.
        if (QPlatformWindow* platform = handle->handle(); platform && tellsWindowManager())
            platform->propagateSizeHints();
        if (QBackingStore* store = window_->backingStore())
            store->resize(window_->size());
        if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
            const QRect available = window_->screen()->availableGeometry();
            const QSize outer = window_->frameGeometry().size();
            QPoint corner =
                centre / handle->devicePixelRatio() - QPoint(outer.width() / 2, outer.height() / 2);
            corner.setX(
                qBound(available.left(), corner.x(), available.right() - outer.width() + 1));
            corner.setY(
                qBound(available.top(), corner.y(), available.bottom() - outer.height() + 1));
            window_->move(corner);
        }
    }
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
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_)
        return false;
    int step = 0;
    if (event->type() == QEvent::KeyPress && isZoomKey(static_cast<QKeyEvent*>(event), &step)) {
    } else if (event->type() == QEvent::Wheel &&
               (static_cast<QWheelEvent*>(event)->modifiers() & Qt::ControlModifier)) {
        // A browser gives the wheel in pixels, a mouse in eighths of a degree: one notch is
        // one step whatever its size.
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta == 0)
            return true;
        step = delta > 0 ? 1 : -1;
    } else {
        return false;
    }
    setPercent(step > 0   ? NextZoomStep(percent_)
               : step < 0 ? PreviousZoomStep(percent_)
                          : kActualSize);
    return true;
}

int RememberedZoom()
{
    if (!anythingRemembered())
        return kActualSize;
    const QSettings stored = settings();
    if (stored.status() != QSettings::NoError)
        return kActualSize;
    const QString text = stored.value(QLatin1String(kZoomKey)).toString();
    return ReadZoomPercent(text.toStdString()).value_or(kActualSize);
}

void RememberZoom(int percent)
{
    QSettings stored = settings();
    stored.setValue(QLatin1String(kZoomKey), percent);
}
