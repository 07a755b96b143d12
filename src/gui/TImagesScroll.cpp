#include "gui/TImagesScroll.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace lv {

namespace {
constexpr int kScrollStep = 18;
}

class TImagesScroll::Strip : public QWidget {
public:
    explicit Strip(TImagesScroll& owner) : QWidget(&owner), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QSize cell = owner_.CellSize();
        for (int i = owner_.showFrom_; i < owner_.Count(); ++i) {
            const QRect box(QPoint((i - owner_.showFrom_) * cell.width(), 0), cell);
            if (i == owner_.imageIndex_) {
                painter.fillRect(box, palette().color(QPalette::Highlight));
            }
            const QPixmap& picture = owner_.images_[i];
            painter.drawPixmap(box.left() + 1, box.top() + 1, picture);
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            owner_.Clicked(event->position().toPoint().x());
        }
    }

private:
    TImagesScroll& owner_;
};

TImagesScroll::TImagesScroll(QWidget* parent) : QScrollArea(parent), strip_(new Strip(*this)) {
    setObjectName(QStringLiteral("ImagesScroll1"));
    setWidget(strip_);
    setWidgetResizable(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(kScrollStep);
    FitHeight();
}

void TImagesScroll::SetImages(QVector<QPixmap> images, QSize pictureSize) {
    images_ = std::move(images);
    pictureSize_ = pictureSize;
    showFrom_ = 0;
    FitHeight();
}

void TImagesScroll::SetImageIndex(int index) {
    imageIndex_ = index;
    strip_->update();
}

void TImagesScroll::SetShowFrom(int first) {
    showFrom_ = std::max(0, first);
    FitHeight();
}

QPoint TImagesScroll::CellCentre(int index) const {
    const QSize cell = CellSize();
    return {(index - showFrom_) * cell.width() + cell.width() / 2, cell.height() / 2};
}

void TImagesScroll::Clicked(int x) {
    const int entry = x / CellSize().width() + showFrom_;
    if (entry < 0 || entry >= Count()) {
        return;
    }
    SetImageIndex(entry);
    if (notify_) {
        emit Selected(entry);
    }
}

// AutoHeight: one row of cells, plus the scroll bar.
void TImagesScroll::FitHeight() {
    const QSize cell = CellSize();
    strip_->resize(std::max(1, (Count() - showFrom_) * cell.width()), cell.height());
    setFixedHeight(cell.height() + horizontalScrollBar()->sizeHint().height() + 2 * frameWidth());
    strip_->update();
}

} // namespace lv
