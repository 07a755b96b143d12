#pragma once

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QTreeWidget;

namespace lv {

class TTabForm;

// The page options dialog on screen. Every radio item, the password check box and the three
// buttons hand their click to the form, which closes the dialog.
class TTabFormView : public QDialog {
    Q_OBJECT
public:
    explicit TTabFormView(QWidget* parent = nullptr);

    // Shows the form modally until a choice or Escape closes it.
    void Edit(TTabForm& form);

    QTreeWidget* BtnList() const { return list_; }

protected:
    void reject() override;

private:
    void Run(const std::function<void(TTabForm&)>& step);
    void Fill();

    TTabForm* form_ = nullptr;
    QGroupBox* bookmarkGroup_ = nullptr;
    QCheckBox* passBox_ = nullptr;
    QTreeWidget* list_ = nullptr;
    std::vector<QWidget*> radios_;
    bool filling_ = false;
};

} // namespace lv
