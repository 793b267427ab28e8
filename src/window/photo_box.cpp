#include "photo_box.h"

#include <QPainter>
#include <qdrawutil.h>

namespace {

constexpr int kBorder = 2; // the desktop's sunken border

} // namespace

// Named as JPEG, so that no other decoder is asked first.
PhotoBox::PhotoBox(const QString& resource, QWidget* parent)
    : QWidget(parent), photo_(resource, "JPG")
{
    setFixedSize(photo_.size() + QSize(2 * kBorder, 2 * kBorder));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PhotoBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform); // on high-resolution screens
    qDrawWinPanel(&painter, rect(), palette(), true);
    painter.drawImage(QPoint(kBorder, kBorder), photo_);
}
