#pragma once

#include <QDialog>
#include <QString>

class QButtonGroup;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace lv {

class TAlphaForm;

// The page range dialog on screen: the page list, the colour choice and the action, "Help" and
// "Close" buttons over a TAlphaForm, which keeps the range and the colour filter.
class TAlphaFormView : public QDialog {
    Q_OBJECT
public:
    explicit TAlphaFormView(QWidget* parent = nullptr, QString helpFile = {});

    // Shows the form modally in the colours of the selected page tab until its action button,
    // "Close" or Escape closes it.
    void Choose(TAlphaForm& form, int backColor, int fontColor);

    QTreeWidget* PageList() const { return list_; }
    QButtonGroup* ColorGroup() const { return colorGroup_; }
    QPushButton* ActionButton() const { return action_; }

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    void ShowColorItem();

    QString helpFile_;
    TAlphaForm* form_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QButtonGroup* colorGroup_ = nullptr;
    QPushButton* action_ = nullptr;
};

} // namespace lv
