#pragma once

#include <QPixmap>
#include <QScrollArea>
#include <QVector>

namespace lv {

// A strip of pictures in one row, each in a cell two pixels wider and higher than the picture,
// starting at entry ShowFrom. The selected entry is drawn on the highlight colour; a click on a
// cell selects it and, with Notify on, reports Selected with the entry's index.
class TImagesScroll : public QScrollArea {
    Q_OBJECT
public:
    explicit TImagesScroll(QWidget* parent = nullptr);

    void SetImages(QVector<QPixmap> images, QSize pictureSize);
    int Count() const { return static_cast<int>(images_.size()); }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    void SetShowFrom(int first);
    int ShowFrom() const { return showFrom_; }
    void SetNotify(bool notify) { notify_ = notify; }
    QSize CellSize() const { return pictureSize_ + QSize(2, 2); }
    // The centre of an entry's cell on the strip (widget()), for tests that click it.
    QPoint CellCentre(int index) const;

signals:
    void Selected(int index);

private:
    class Strip;
    void Clicked(int x);
    void FitHeight();

    Strip* strip_;
    QVector<QPixmap> images_;
    QSize pictureSize_{15, 15};
    int showFrom_ = 0;
    int imageIndex_ = 0;
    bool notify_ = true;
};

} // namespace lv
