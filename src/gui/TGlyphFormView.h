#pragma once

#include <QDialog>

class QLabel;

namespace lv {

class THNoShape;
class TImagesScroll;
class TGlyphForm;

// "Select an Icon" on screen: the pictures of a TGlyphForm in an image strip and its buttons.
class TGlyphFormView : public QDialog {
    Q_OBJECT
public:
    explicit TGlyphFormView(QWidget* parent = nullptr);

    // Shows the chooser modally until a choice, "Default Icon", "Close" or Escape.
    void Choose(TGlyphForm& form);

protected:
    void reject() override;

private:
    void Fill();
    void Run(void (TGlyphForm::*handler)());

    TGlyphForm* form_ = nullptr;
    QLabel* pathLabel_ = nullptr;
    TImagesScroll* strip_ = nullptr;
    THNoShape* fileBtn_ = nullptr;
    QLabel* useLabel_ = nullptr;
};

} // namespace lv
