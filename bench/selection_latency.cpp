// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Selection benchmark: from a key press delivered to the list to the report written and the
// tile painted and flushed, over all 28 tiles in turn and the clear button, many times over.
// Built for the program, and with PLAIN_QT for the plain Qt version of its window, so that both
// get the same events.
//
// Usage: selection-latency [EVENTS] [LATENCY_FILE]
// Prints the median and 99th percentile in microseconds and resident memory before and
// after; LATENCY_FILE gets one latency a line, in event order.

#if defined(PLAIN_QT)
#include "plain_qt_window.h"

#include <QListWidget>
#include <QPushButton>
#else
#include "command_button.h"
#include "list_box.h"
#include "main_form.h"
#endif

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextStream>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

#if defined(PLAIN_QT)
using Window = PlainQtWindow;
QWidget* tileList(Window& window)
{
    return window.list;
}
QWidget* clearButton(Window& window)
{
    return window.clearButton;
}
#else
using Window = MainForm;
QWidget* tileList(Window& window)
{
    return window.List1;
}
QWidget* clearButton(Window& window)
{
    return window.Command1;
}
#endif

long residentKilobytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void press(QWidget* widget, Qt::Key key)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &down);
    QApplication::sendEvent(widget, &up);
}

void click(QWidget* widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(centre);
    QMouseEvent down(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(widget, &down);
    QApplication::sendEvent(widget, &up);
}

// Event i of the walk: Home, 27 times Down (every tile in turn), then the clear button.
void act(Window& form, int i)
{
    const int step = i % 29;
    if (step == 0)
        press(tileList(form), Qt::Key_Home);
    else if (step < 28)
        press(tileList(form), Qt::Key_Down);
    else
        click(clearButton(form));
}

// Paints what the event left dirty and hands it to the screen.
void paintNow(Window& form)
{
    QCoreApplication::sendPostedEvents(&form, QEvent::UpdateRequest);
    QCoreApplication::sendPostedEvents(form.windowHandle(), QEvent::UpdateRequest);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int events = argc > 1 ? std::atoi(argv[1]) : 100000;
    const char* latencyFile = argc > 2 ? argv[2] : nullptr;

    Window form;
    form.show();
    while (!form.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    tileList(form)->setFocus();

    constexpr int warmUp = 29 * 10;
    for (int i = 0; i < warmUp; ++i) {
        act(form, i);
        paintNow(form);
    }
    // The latencies' own storage is made resident first, so that it does not count as growth.
    std::vector<double> micros(static_cast<std::size_t>(std::max(events, 0)), -1.0);
    double actMicros = 0;
    QCoreApplication::processEvents();
    const long before = residentKilobytes();

    for (int i = 0; i < events; ++i) {
        const auto start = Clock::now();
        act(form, i);
        const auto acted = Clock::now();
        paintNow(form);
        actMicros += std::chrono::duration<double, std::micro>(acted - start).count();
        micros[i] = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        if (i % 29 == 28)
            QCoreApplication::processEvents(); // the window system's own traffic
    }
    const long after = residentKilobytes();

    if (latencyFile) {
        QFile out(QString::fromLocal8Bit(latencyFile));
        if (out.open(QIODevice::WriteOnly)) {
            QTextStream stream(&out);
            for (double value : micros)
                stream << value << '\n';
        }
    }
    if (events > 0) {
        std::vector<double> sorted = micros;
        std::sort(sorted.begin(), sorted.end());
        const auto at = [&](double q) { return sorted[std::size_t(q * (sorted.size() - 1))]; };
        std::printf("events %d median_us %.1f p99_us %.1f rss_before_kb %ld rss_after_kb %ld\n",
                    events, at(0.5), at(0.99), before, after);
        std::printf("mean_event_handling_us %.1f\n", actMicros / events);
    }
    return 0;
}
