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
#include <emscripten/val.h>
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
            text += QStringLiteral("\n") + form.Picture1->accessibleDescription();
            emscripten::val::global("window").call<void>("announce", text.toStdString());
        });
    };
    QObject::connect(form.List1, &ListBox::Click, &form, tell);
    QObject::connect(form.Command1, &CommandButton::clicked, &form, tell);
}

// The largest step at which the whole window, Qt's title bar included, fits the page.
void fitToPage(MainForm& form, WindowZoom& zoom)
{
    const QSize page = form.screen()->geometry().size() * zoom.percent();
    const QSize frame = form.frameGeometry().size();
    int fitting = kZoomSteps.front();
    for (const int step : kZoomSteps)
        if (frame.width() * step <= page.width() && frame.height() * step <= page.height())
            fitting = step;
    zoom.setCeiling(fitting);
    zoom.setPercent(fitting);
    form.centreOnScreen();
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
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed,
                     [] { emscripten::val::global("window").call<void>("windowClosed"); });
    tellPageOfChanges(form);
}
