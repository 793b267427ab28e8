// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_form_layout.h"

#include "accessibility.h"
#include "announcer.h"
#include "colours.h"
#include "command_button.h"
#include "desktop.h"
#include "fixed_texts.h"
#include "list_box.h"
#include "photo_box.h"
#include "picture_box.h"
#include "text_box.h"
#include "twips.h"
#include "window_font.h"
#include "window_geometry.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>

namespace {

// A fixed size alone still gets a thick, resizable frame on Windows; this hint gives the
// fixed single border. Other platforms take the fixed size from the size hints.
#if defined(Q_OS_WIN)
constexpr Qt::WindowFlags kFixedFrameFlags = Qt::MSWindowsFixedSizeDialogHint;
#else
constexpr Qt::WindowFlags kFixedFrameFlags = {};
#endif

QRect twips(const TwipsRect& rect)
{
    return QRect(rect.left / kTwipsPerPixel, rect.top / kTwipsPerPixel, rect.width / kTwipsPerPixel,
                 rect.height / kTwipsPerPixel);
}

QImage readIcon()
{
    // Decoded as PNG and nothing else: otherwise Qt loads every image plugin to ask it first.
    QImageReader icon(QStringLiteral(":/icon.png"), "png");
    icon.setAutoDetectImageFormat(false);
    return icon.read();
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
    Text1->setGeometry(twips(kText1Twips));
    Text1->SetText(kDescription);

    Label1 = new QLabel(QString::fromUtf8(kHeading), this);
    Label1->setGeometry(twips(kLabel1Twips));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette headingPalette = Label1->palette();
    headingPalette.setColor(QPalette::Window, fromBgr(kHeadingBackgroundBgr));
    Label1->setPalette(headingPalette);
    Label1->setAutoFillBackground(true);

    List1 = new ListBox(this);
    List1->setGeometry(twips(kList1Twips));

    Command1 = new CommandButton(QString::fromUtf8(kClearCaption), fromBgr(kClearFaceBgr), this);
    Command1->setGeometry(twips(kCommand1Twips));

    Picture1 = new PictureBox(kPicture1Twips.width, kPicture1Twips.height, this);
    Picture1->move(twips(kPicture1Twips).topLeft());

    Picture2 = new PhotoBox(QStringLiteral(":/photo.jpg"),
                            QSize(kPhotoWidthPixels, kPhotoHeightPixels), this);
    Picture2->move(twips({kPicture2LeftTwips, kPicture2TopTwips, 0, 0}).topLeft());

    announcer = new Announcer(this);

    installWindowAccessibility();
    Text1->setAccessibleName(QString::fromUtf8(kReportName));
    List1->setAccessibleName(QString::fromUtf8(kListName));
    Command1->setAccessibleDescription(QString::fromUtf8(kClearDescription));
    Picture1->setAccessibleName(QString::fromUtf8(kTileName));
    Picture1->setAccessibleDescription(QString::fromUtf8(kNoTileDescription));
    Picture2->setAccessibleName(QString::fromUtf8(kPhotoName));

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

void MainFormLayout::centreOnScreen()
{
    CentreWindow(this, screen()->availableGeometry().center());
}
