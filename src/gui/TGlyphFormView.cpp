#include "gui/TGlyphFormView.h"

#include "gui/Colors.h"
#include "gui/GlyphPainter.h"
#include "gui/THNoShape.h"
#include "gui/TImagesScroll.h"
#include "platform/image/Glyphs.h"
#include "platform/image/IconFile.h"
#include "store/Text.h"
#include "tools/TGlyphForm.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace lv {

namespace {

QPixmap ToPixmap(const Image& image) {
    if (image.IsNull()) {
        return {};
    }
    const QImage view(image.Bytes(), image.Width(), image.Height(), image.Width() * 4,
                      QImage::Format_RGBA8888);
    return QPixmap::fromImage(view.copy());
}

// Every cell of a strip has the same size; a picture of another size is centred in it.
QPixmap Fitted(const QPixmap& picture, QSize size) {
    QPixmap cell(size);
    cell.fill(Qt::transparent);
    if (!picture.isNull()) {
        QPainter painter(&cell);
        const QPixmap shown = picture.width() > size.width() || picture.height() > size.height()
                                  ? picture.scaled(size, Qt::KeepAspectRatio)
                                  : picture;
        painter.drawPixmap((size.width() - shown.width()) / 2, (size.height() - shown.height()) / 2,
                           shown);
    }
    return cell;
}

} // namespace

TGlyphFormView::TGlyphFormView(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("GlyphForm"));
    setWindowTitle(QStringLiteral("Select an Icon"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    resize(TGlyphForm::kWidth, TGlyphForm::kHeight);
    auto* whole = new QVBoxLayout(this);
    pathLabel_ = new QLabel(this);
    pathLabel_->setObjectName(QStringLiteral("PathLabel"));
    whole->addWidget(pathLabel_);
    strip_ = new TImagesScroll(this);
    whole->addWidget(strip_);
    auto* row = new QHBoxLayout;
    whole->addLayout(row);
    fileBtn_ = new THNoShape(QStringLiteral("Images from Files"), this);
    fileBtn_->setObjectName(QStringLiteral("FileBtn"));
    fileBtn_->UseSharedPictures(125);
    useLabel_ = new QLabel(QStringLiteral("then select image from list,  or use"), this);
    auto* defaultBtn = new THNoShape(QStringLiteral("Internal Icons"), this);
    defaultBtn->setObjectName(QStringLiteral("DefaultBtn"));
    auto* noIconBtn = new THNoShape(QStringLiteral("Default Icon"), this);
    noIconBtn->setObjectName(QStringLiteral("NoIconBtn"));
    auto* helpBtn = new THNoShape(QStringLiteral("Help"), this);
    helpBtn->setObjectName(QStringLiteral("HelpBtn"));
    helpBtn->UseSharedPictures(50);
    auto* closeBtn = new THNoShape(QStringLiteral("Close"), this);
    closeBtn->setObjectName(QStringLiteral("CloseBtn"));
    closeBtn->UseSharedPictures(50);
    row->addWidget(fileBtn_);
    row->addWidget(useLabel_);
    row->addWidget(defaultBtn);
    row->addWidget(noIconBtn);
    row->addStretch();
    row->addWidget(helpBtn);
    row->addWidget(closeBtn);

    connect(fileBtn_, &THNoShape::clicked, this, [this] { Run(&TGlyphForm::FileBtnClick); });
    connect(defaultBtn, &THNoShape::clicked, this, [this] { Run(&TGlyphForm::DefaultBtnClick); });
    connect(noIconBtn, &THNoShape::clicked, this, [this] { Run(&TGlyphForm::NoIconBtnClick); });
    connect(helpBtn, &THNoShape::clicked, this, [this] { Run(&TGlyphForm::HelpBtnClick); });
    connect(closeBtn, &THNoShape::clicked, this, [this] { Run(&TGlyphForm::CloseBtnClick); });
    connect(strip_, &TImagesScroll::Selected, this, [this](int entry) {
        if (form_ == nullptr) {
            return;
        }
        form_->ImagesScroll1Selected(entry);
        if (form_->Closed()) {
            QDialog::accept();
        }
    });
}

void TGlyphFormView::Fill() {
    QPalette look = palette();
    look.setColor(QPalette::Window, ToQColor(form_->backColor, look));
    look.setColor(QPalette::WindowText, ToQColor(form_->fontColor, look));
    setPalette(look);
    setAutoFillBackground(true);
    pathLabel_->setText(QString::fromStdString(form_->PathLabel()));
    fileBtn_->setVisible(form_->FilesOffered());
    useLabel_->setVisible(form_->FilesOffered());
    QVector<QPixmap> pictures;
    QSize size(kPictureGlyphSide, kPictureGlyphSide);
    if (form_->ShowsBuiltIn()) {
        size = QSize(kBuiltInGlyphWidth, kBuiltInGlyphHeight);
        for (int i = 0; i < kBuiltInGlyphCount; ++i) {
            pictures.push_back(ToPixmap(BuiltInGlyph(i)));
        }
    } else {
        GlyphPainter painter;
        painter.SetButtonFace(palette().color(QPalette::Button));
        const std::string file = Utf8ToCp1252(form_->PathLabel());
        for (const TGlyphForm::FileEntry& entry : form_->FileImageList()) {
            if (entry.kind == TGlyphForm::FileEntry::Kind::Blank) {
                pictures.push_back(ToPixmap(BlankGlyph()));
            } else {
                pictures.push_back(
                    Fitted(painter.Paint({GlyphRef::Kind::IconFile, entry.icon, file}), size));
            }
        }
    }
    strip_->SetImages(pictures, size);
    strip_->SetImageIndex(form_->ImageIndex());
}

void TGlyphFormView::Choose(TGlyphForm& form) {
    form_ = &form;
    Fill();
    exec();
    if (!form.Closed()) {
        form.CloseBtnClick();
    }
    form_ = nullptr;
}

void TGlyphFormView::Run(void (TGlyphForm::*handler)()) {
    if (form_ == nullptr) {
        return;
    }
    (form_->*handler)();
    if (form_->Closed()) {
        QDialog::accept();
    } else {
        Fill();
    }
}

void TGlyphFormView::reject() {
    if (form_ != nullptr) {
        form_->CloseBtnClick();
    }
    QDialog::reject();
}

} // namespace lv
