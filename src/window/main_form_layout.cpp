// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_form_layout.h"

#include "accessibility.h"
#include "announcer.h"
#include "colours.h"
#include "command_button.h"
#include "fixed_texts.h"
#include "list_box.h"
#include "photo_box.h"
#include "picture_box.h"
#include "text_box.h"
#include "twips.h"
#include "window_font.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>

namespace {

constexpr int kClientWidthTwips = 6915;
constexpr int kClientHeightTwips = 5175;
constexpr QSize kPhotoSize(220, 162);

// A fixed size alone still gets a thick, resizable frame on Windows; this hint gives the
// fixed single border. Other platforms take the fixed size from the size hints.
#if defined(Q_OS_WIN)
constexpr Qt::WindowFlags kFixedFrameFlags = Qt::MSWindowsFixedSizeDialogHint;
#else
constexpr Qt::WindowFlags kFixedFrameFlags = {};
#endif

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

QImage readIcon()
{
#if defined(Q_OS_WASM)
    // The page's Qt reads no PNG, so the page carries the icon as its 32 by 32 RGBA pixels.
    constexpr int kIconSize = 32;
    QFile file(QStringLiteral(":/icon.rgba"));
    const QByteArray pixels = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (pixels.size() != kIconSize * kIconSize * 4)
        return {};
    return QImage(reinterpret_cast<const uchar*>(pixels.constData()), kIconSize, kIconSize,
                  QImage::Format_RGBA8888)
        .copy();
#else
    // Decoded as PNG and nothing else: otherwise Qt loads every image plugin to ask it first.
    QImageReader icon(QStringLiteral(":/icon.png"), "png");
    icon.setAutoDetectImageFormat(false);
    return icon.read();
#endif
}

} // namespace

MainFormLayout::MainFormLayout(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | kFixedFrameFlags)
{
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowIcon(QPixmap::fromImage(readIcon()));
    setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);

    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, fromBgr(kFormBackgroundBgr));
    setPalette(windowPalette);
    setAutoFillBackground(true);

    const QFont font = windowFont();
    setFont(font);

    // While it is built the report box lays out an empty document of its own in the
    // application's font; lent the window's font for that, the window loads one font only.
    const QFont applicationFont = QGuiApplication::font();
    QGuiApplication::setFont(font);
    Text1 = new TextBox(this);
    QGuiApplication::setFont(applicationFont);
    Text1->setGeometry(twips(120, 3120, 6735, 1815));
    Text1->SetText(kDescription);

    Label1 = new QLabel(QString::fromUtf8(kHeading), this);
    Label1->setGeometry(twips(960, 0, 4575, 375));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette headingPalette = Label1->palette();
    headingPalette.setColor(QPalette::Window, fromBgr(kHeadingBackgroundBgr));
    Label1->setPalette(headingPalette);
    Label1->setAutoFillBackground(true);

    List1 = new ListBox(this);
    List1->setGeometry(twips(240, 480, 1455, 1770));

    Command1 = new CommandButton(QString::fromUtf8(kClearCaption), fromBgr(kClearFaceBgr), this);
    Command1->setGeometry(twips(240, 2400, 1575, 375));

    Picture1 = new PictureBox(1200, 2400, this);
    Picture1->move(twips(2040, 480, 0, 0).topLeft());

    Picture2 = new PhotoBox(QStringLiteral(":/photo.jpg"), kPhotoSize, this);
    Picture2->move(twips(3360, 480, 0, 0).topLeft());

    announcer = new Announcer(this);

    installWindowAccessibility();
#if QT_CONFIG(accessibility)
    Text1->setAccessibleName(QString::fromUtf8(kReportName));
    List1->setAccessibleName(QString::fromUtf8(kListName));
    Command1->setAccessibleDescription(QString::fromUtf8(kClearDescription));
    Picture1->setAccessibleName(QString::fromUtf8(kTileName));
    Picture1->setAccessibleDescription(QString::fromUtf8(kNoTileDescription));
    Picture2->setAccessibleName(QString::fromUtf8(kPhotoName));
#endif

    setTabOrder(Text1, List1);
    setTabOrder(List1, Command1);
    Text1->setFocus();
}

void MainFormLayout::showEvent(QShowEvent* event)
{
    if (!centred_) {
        centreOnScreen();
        centred_ = true;
    }
    QWidget::showEvent(event);
}

void MainFormLayout::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && centred_ && !centredWithFrame_ &&
        frameGeometry().size() != size()) {
        centredWithFrame_ = true;
        centreOnScreen();
    }
}

// The whole window, frame included, goes to the middle of the screen's free area; move()
// places the frame's corner. A Wayland compositor places windows itself and ignores move().
void MainFormLayout::centreOnScreen()
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    const QRect available = screen()->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(available.center() - QPoint(outer.width() / 2, outer.height() / 2));
}
