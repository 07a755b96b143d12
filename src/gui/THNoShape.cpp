#include "gui/THNoShape.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace lv {

namespace {

constexpr int kButtonHeight = 22;

// The shared button artwork: a rounded bar, pale when idle, warmer when the mouse is over it,
// darker while pressed. Corners stay transparent, so they are not part of the button.
QPixmap ButtonPicture(int width, const QColor& top, const QColor& bottom) {
    QPixmap picture(width, kButtonHeight);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, kButtonHeight);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0.5, 0.5, width - 1.0, kButtonHeight - 1.0), 8, 8);
    painter.fillPath(outline, fill);
    painter.setPen(QColor(0x60, 0x60, 0x80));
    painter.drawPath(outline);
    return picture;
}

} // namespace

THNoShape::THNoShape(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    UseSharedPictures(100);
}

void THNoShape::UseSharedPictures(int width) {
    SetPictures(ButtonPicture(width, QColor(0xF4, 0xF4, 0xFA), QColor(0xC8, 0xC8, 0xDC)),
                ButtonPicture(width, QColor(0xFF, 0xF4, 0xD8), QColor(0xF0, 0xC8, 0x80)),
                ButtonPicture(width, QColor(0xD8, 0xB0, 0x70), QColor(0xF0, 0xD8, 0xA8)));
}

void THNoShape::SetPictures(QPixmap idleUp, QPixmap up, QPixmap down) {
    bitmapIdleUp_ = std::move(idleUp);
    bitmapUp_ = std::move(up);
    bitmapDown_ = std::move(down);
    shape_ = bitmapIdleUp_.toImage();
    setFixedSize(bitmapIdleUp_.size());
    update();
}

QSize THNoShape::sizeHint() const {
    return bitmapIdleUp_.size();
}

const QPixmap& THNoShape::Current() const {
    if (isDown()) {
        return bitmapDown_;
    }
    return hover_ && isEnabled() ? bitmapUp_ : bitmapIdleUp_;
}

void THNoShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, Current());
    QRect area = rect();
    if (isDown()) {
        area.translate(1, 1);
    }
    painter.setFont(font());
    painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                               : palette().color(QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area, Qt::AlignCenter, text());
}

bool THNoShape::hitButton(const QPoint& pos) const {
    return shape_.valid(pos) && qAlpha(shape_.pixel(pos)) != 0;
}

void THNoShape::mouseMoveEvent(QMouseEvent* event) {
    const bool inside = hitButton(event->position().toPoint());
    if (inside != hover_) {
        hover_ = inside;
        update();
    }
    QAbstractButton::mouseMoveEvent(event);
}

void THNoShape::leaveEvent(QEvent* event) {
    if (hover_) {
        hover_ = false;
        update();
    }
    QAbstractButton::leaveEvent(event);
}

} // namespace lv
