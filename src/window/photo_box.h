#pragma once

#include <QImage>
#include <QWidget>

// A fixed picture inside a sunken 2-pixel border, the widget sized to fit the two.
class PhotoBox : public QWidget
{
    Q_OBJECT

public:
    explicit PhotoBox(const QString& resource, QWidget* parent = nullptr);

    const QImage& photo() const { return photo_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage photo_;
};
