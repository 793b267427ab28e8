// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_box.h"
#include "main_form_layout.h"
#include "text_box.h"
#include "window_zoom.h"
#include "zoom_settings.h"
#include "zoom_steps.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <memory>
#include <optional>
#include <qpa/qwindowsysteminterface.h>

// The steps the window can take on the screen the test runs on (CMake says which): the
// ordinary 800 x 800 screen fits up to 150 %, and at 75 % would have less than a pixel to each
// of the window's; a screen of 1200 x 850 at a ratio of 2 takes 75 to 200 %.
struct Range
{
    int smallest, largest;
};
Range range()
{
    const QStringList ends = qEnvironmentVariable("DOMINO_ZOOM_RANGE", "100-150").split('-');
    return {ends.value(0).toInt(), ends.value(1).toInt()};
}
constexpr int kSmallest = -1;
constexpr int kLargest = -2;
int resolved(int percent)
{
    return percent == kSmallest  ? range().smallest
           : percent == kLargest ? range().largest
                                 : percent;
}

class TestWindowZoom : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void keysAndWheel_data();
    void keysAndWheel();
    void windowGrowsWithTheZoom_data();
    void windowGrowsWithTheZoom();
    void zoomKeepsWhatTheWindowShows();
    void remembered_data();
    void remembered();

private:
    QTemporaryDir config_;
    std::unique_ptr<MainFormLayout> form_;
    WindowZoom* zoom_ = nullptr;
};

void TestWindowZoom::initTestCase()
{
    // The settings go to a folder of the test's own, never the user's.
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    QCoreApplication::setOrganizationName("domino-tiles-test");
    QCoreApplication::setApplicationName("domino-tiles-test");
}

void TestWindowZoom::init()
{
    WindowZoom::startAt(kActualSize);
    form_ = std::make_unique<MainFormLayout>();
    zoom_ = new WindowZoom(form_.get());
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void TestWindowZoom::cleanup()
{
    form_.reset();
}

void TestWindowZoom::keysAndWheel_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("input"); // a key sequence, or "wheel up" / "wheel down"
    QTest::addColumn<int>("to");

    QTest::newRow("Ctrl+Plus") << 100 << "Ctrl++" << 125;
    QTest::newRow("Ctrl+=") << 100 << "Ctrl+=" << 125;
    QTest::newRow("keypad plus") << 100 << "Ctrl+Num++" << 125;
    QTest::newRow("Ctrl+Minus") << 150 << "Ctrl+-" << 125;
    QTest::newRow("keypad minus") << 125 << "Ctrl+Num+-" << 100;
    QTest::newRow("Ctrl+Minus below 100") << 100 << "Ctrl+-" << kSmallest;
    QTest::newRow("Ctrl+0") << 150 << "Ctrl+0" << 100;
    QTest::newRow("Ctrl+Minus at the smallest") << kSmallest << "Ctrl+-" << kSmallest;
    QTest::newRow("Ctrl+Plus past the screen") << kLargest << "Ctrl++" << kLargest;
    QTest::newRow("Ctrl+wheel up") << 100 << "wheel up" << 125;
    QTest::newRow("Ctrl+wheel down") << 125 << "wheel down" << 100;
    QTest::newRow("Ctrl+wheel over a scroll bar") << 125 << "wheel down over the scroll bar" << 100;
    QTest::newRow("wheel alone scrolls") << 100 << "plain wheel up" << 100;
    QTest::newRow("plus alone types no zoom") << 100 << "+" << 100;
}

void TestWindowZoom::keysAndWheel()
{
    QFETCH(int, from);
    QFETCH(QString, input);
    QFETCH(int, to);
    from = resolved(from);
    to = resolved(to);

    QVERIFY(zoom_->setPercent(from));
    QWidget* target = form_->List1;
    target->setFocus();
    QSignalSpy changed(zoom_, &WindowZoom::changed);
    if (input.contains("wheel")) {
        // As a mouse turns it: to whatever control is under the pointer, and on from there.
        QWidget* over = input.contains("scroll bar") ? form_->Text1->verticalScrollBar()
                                                     : static_cast<QWidget*>(form_->List1);
        const QPoint at = over->mapTo(form_.get(), over->rect().center());
        QWindowSystemInterface::handleWheelEvent(form_->windowHandle(), at, form_->mapToGlobal(at),
                                                 {}, QPoint(0, input.contains("up") ? 120 : -120),
                                                 input.startsWith("plain") ? Qt::NoModifier
                                                                           : Qt::ControlModifier);
        QCoreApplication::processEvents();
    } else {
        QTest::keySequence(target, QKeySequence(input));
    }
    QCOMPARE(zoom_->percent(), to);
    QCOMPARE(changed.count(), to == from ? 0 : 1);
}

// The window, its controls and its drawing grow together: the same layout in the window's
// units, drawn with that many more pixels.
void TestWindowZoom::windowGrowsWithTheZoom_data()
{
    QTest::addColumn<int>("percent");
    for (const int step : kZoomSteps)
        if (step >= range().smallest && step <= range().largest)
            QTest::addRow("%d %%", step) << step;
}

void TestWindowZoom::windowGrowsWithTheZoom()
{
    QFETCH(int, percent);
    const QRect list = form_->List1->geometry();
    const qreal screenRatio = form_->devicePixelRatioF();
    QVERIFY(zoom_->setPercent(percent));
    QCOMPARE(form_->size(), QSize(461, 345));
    QCOMPARE(form_->List1->geometry(), list);
    QCOMPARE(form_->devicePixelRatioF(), screenRatio * percent / 100.0);
    const QSize pixels = form_->grab().size();
    QVERIFY(qAbs(pixels.width() - 461 * screenRatio * percent / 100.0) <= 1);
    QVERIFY(qAbs(pixels.height() - 345 * screenRatio * percent / 100.0) <= 1);
    const QRect frame = form_->frameGeometry();
    QVERIFY2(form_->screen()->availableGeometry().contains(frame),
             qPrintable(QString("%1,%2 %3x%4")
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width())
                            .arg(frame.height())));
}

void TestWindowZoom::zoomKeepsWhatTheWindowShows()
{
    for (int row = 0; row < 28; ++row)
        form_->List1->AddItem(std::to_string(row));
    form_->List1->SetListIndex(20);
    form_->Text1->SetText("two\r\nlines\r\n");
    form_->List1->setFocus();
    QTRY_VERIFY(form_->List1->verticalScrollBar()->value() > 0);
    const int scrolled = form_->List1->verticalScrollBar()->value();

    QVERIFY(zoom_->setPercent(range().largest));
    QVERIFY(zoom_->setPercent(range().smallest));

    QCOMPARE(form_->List1->ListIndex(), 20);
    QCOMPARE(form_->List1->verticalScrollBar()->value(), scrolled);
    QCOMPARE(form_->Text1->Text(), std::string("two\r\nlines\r\n"));
    QVERIFY(form_->List1->hasFocus());
}

// What is stored is read back only where it is a step; anything else is 100 %, and reading it
// writes nothing.
void TestWindowZoom::remembered_data()
{
    QTest::addColumn<QByteArray>("stored"); // the settings file; "folder" makes it unreadable
    QTest::addColumn<int>("percent");

    QTest::newRow("nothing stored") << QByteArray() << 100;
    QTest::newRow("a step") << QByteArray("[window]\nzoom=200\n") << 200;
    QTest::newRow("out of range") << QByteArray("[window]\nzoom=900\n") << 100;
    QTest::newRow("garbage") << QByteArray("[window]\nzoom=@Variant(\\0\\x1)\n") << 100;
    QTest::newRow("not a settings file") << QByteArray("\x89PNG\r\n\x1a\n\0\0") << 100;
    QTest::newRow("unreadable") << QByteArray("folder") << 100;
}

void TestWindowZoom::remembered()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, percent);

    const QString folder = config_.filePath("domino-tiles-test");
    const QString file = folder + "/domino-tiles-test.conf";
    QDir(folder).removeRecursively();
    QVERIFY(QDir().mkpath(folder));
    if (stored == "folder") {
        QVERIFY(QDir().mkpath(file));
    } else if (!stored.isEmpty()) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(stored);
    }
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QCOMPARE(RememberedZoom(), percent);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    if (stored != "folder" && !stored.isEmpty()) {
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), stored);
    }

    if (stored.isEmpty()) {
        RememberZoom(250);
        QCOMPARE(RememberedZoom(), 250);
    }
}

QTEST_MAIN(TestWindowZoom)
#include "tst_window_zoom.moc"
