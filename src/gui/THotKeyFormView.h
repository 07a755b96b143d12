#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;

namespace lv {

class THotKeyForm;

// "Define HotKeys" on screen: the rows of a THotKeyForm. Saving goes through `save`, which the
// main window gives the SettingsFile and the manager.
class THotKeyFormView : public QDialog {
    Q_OBJECT
public:
    explicit THotKeyFormView(QWidget* parent = nullptr);

    // Shows the form modally until "Save and Close", "Close" or Escape.
    void Edit(THotKeyForm& form);

protected:
    void reject() override;

private:
    struct RowControls {
        QCheckBox* ctrl = nullptr;
        QCheckBox* alt = nullptr;
        QCheckBox* shift = nullptr;
        QComboBox* key = nullptr;
        QCheckBox* disable = nullptr;
    };
    void Fill();
    void TakeRows();

    THotKeyForm* form_ = nullptr;
    std::array<RowControls, 6> rows_{};
    QLabel* unavailable_ = nullptr;
    bool filling_ = false;
};

} // namespace lv
