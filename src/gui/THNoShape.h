#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace lv {

// The windowless image button of the dialogs: one of three pictures by state (idle, mouse over
// it, pressed), drawn transparently, with the caption centred on it and shifted one pixel right
// and down while pressed. Only the picture's opaque points count as inside.
class THNoShape : public QAbstractButton {
    Q_OBJECT
public:
    explicit THNoShape(const QString& caption, QWidget* parent = nullptr);

    // The shared pictures for a button of this width (50, 75, 100 or 125 pixels).
    void UseSharedPictures(int width);
    void SetPictures(QPixmap idleUp, QPixmap up, QPixmap down);

    QSize sizeHint() const override;
    bool MouseInside() const { return hover_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QPixmap& Current() const;

    QPixmap bitmapIdleUp_;
    QPixmap bitmapUp_;
    QPixmap bitmapDown_;
    QImage shape_;
    bool hover_ = false;
};

} // namespace lv
