#pragma once

#include <QDialog>
#include <vector>

class QLineEdit;

namespace lv {

class TUserSetup;

// "User Setup" on screen: one box under its label for each field of the UserFile, and "Save".
// Closing by the window's close box writes nothing.
class TUserSetupView : public QDialog {
    Q_OBJECT
public:
    explicit TUserSetupView(QWidget* parent = nullptr);

    // Shows the dialog modally until it closes.
    void Edit(TUserSetup& setup);
    QLineEdit* Box(int index) const { return boxes_.at(static_cast<std::size_t>(index)); }

private:
    void Save();

    TUserSetup* setup_ = nullptr;
    std::vector<QLineEdit*> boxes_;
};

} // namespace lv
