#pragma once

#include <QDialog>

class QLineEdit;

namespace lv {

class TNameForm;

// "Enter New Page Name" on screen: Enter or "Save Name" keeps the typed name, Escape drops it.
class TNameFormView : public QDialog {
    Q_OBJECT
public:
    explicit TNameFormView(QWidget* parent = nullptr);

    // Shows the form modally until it closes.
    void Edit(TNameForm& form);

protected:
    void accept() override;
    void reject() override;

private:
    TNameForm* form_ = nullptr;
    QLineEdit* edit_ = nullptr;
};

} // namespace lv
