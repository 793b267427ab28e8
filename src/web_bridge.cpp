// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_bridge.h"

#include "command_button.h"
#include "list_box.h"
#include "main_form.h"
#include "picture_box.h"
#include "text_box.h"
#include "window_zoom.h"
#include "zoom_steps.h"

#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QTimer>
#include <QWindow>
#include <emscripten/val.h>
#include <qpa/qplatformwindow.h>
#include <utility>

namespace {

// Qt tells a browser's screen reader nothing of the window, so the page is told what a pick or
// a clear changed: the report and what the tile shows, as the window holds them once the flow
// has run. A clear runs a pick with nothing selected inside it; it is told once, as it ends.
void tellPageOfChanges(MainForm& form)
{
    static bool pending = false;
    const auto tell = [&form] {
        if (std::exchange(pending, true))
            return;
        QTimer::singleShot(0, &form, [&form] {
            pending = false;
            QString text = QString::fromStdString(form.Text1->Text()).trimmed();
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            text += QStringLiteral("\n") + form.tileDescription();
            emscripten::val::global("window").call<void>("announce", text.toStdString());
        });
    };
    QObject::connect(form.List1, &ListBox::Click, &form, tell);
    QObject::connect(form.Command1, &CommandButton::clicked, &form, tell);
}

// The browser's window, in CSS pixels.
QSize browserWindow()
{
    const emscripten::val window = emscripten::val::global("window");
    return QSize(window["innerWidth"].as<int>(), window["innerHeight"].as<int>());
}

// Where Qt draws the window on its screen, the canvas: the window itself and its frame, in the
// page's CSS pixels, which are the platform window's own. Qt keeps the window's place in its
// own units, rounded; the platform window has it as it is drawn.
QRect nativeFrame(const QPlatformWindow* window)
{
    return window->geometry().marginsAdded(window->frameMargins());
}

// The page cuts its canvas, the window's screen, to the window's frame, so that its own colour
// shows round the window; Qt would paint the rest of its screen grey.
void tellPageWhereTheWindowIs(MainForm& form, WindowZoom& zoom)
{
    const QPlatformWindow* window = form.windowHandle()->handle();
    const QRect frame = nativeFrame(window);
    const QPoint client = window->geometry().topLeft() - frame.topLeft();
    emscripten::val::global("window").call<void>("windowPlaced", frame.width(), frame.height(),
                                                 client.x(), client.y(), zoom.percent());
}

// When the browser's window changes, the page gives the canvas all of it again; then the
// window takes the largest step at which it fits, Qt's title bar included.
void fitToPage(MainForm& form, WindowZoom& zoom)
{
    static QSize fitted;
    const QSize page = browserWindow();
    if (page != fitted) {
        fitted = page;
        // Qt draws the frame in the page's pixels whatever the zoom; only the window grows.
        const QPlatformWindow* window = form.windowHandle()->handle();
        const QSize frame = nativeFrame(window).size() - window->geometry().size();
        int fitting = kZoomSteps.front();
        for (const int step : kZoomSteps)
            if (form.width() * step / 100.0 + frame.width() <= page.width() &&
                form.height() * step / 100.0 + frame.height() <= page.height())
                fitting = step;
        zoom.setCeiling(fitting);
        // Where the screen cannot show that step, the smallest step it can.
        for (int step = fitting; !zoom.setPercent(step) && step < kActualSize;)
            step = NextZoomStep(step);
    }
    form.centreOnScreen();
    tellPageWhereTheWindowIs(form, zoom);
}

} // namespace

// In a browser show() would stretch the window over the whole page; a normal window keeps its
// fixed size and the frame Qt draws for it. Closing it cannot close the page, so the page is
// told, to say so instead of showing the last picture of the window.
void ShowOnPage(MainForm& form, WindowZoom& zoom)
{
    form.showNormal();
    fitToPage(form, zoom);
    QObject::connect(form.screen(), &QScreen::geometryChanged, &form,
                     [&form, &zoom] { fitToPage(form, zoom); });
    QObject::connect(&zoom, &WindowZoom::changed, &form,
                     [&form, &zoom] { tellPageWhereTheWindowIs(form, zoom); });
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed,
                     [] { emscripten::val::global("window").call<void>("windowClosed"); });
    tellPageOfChanges(form);
}
