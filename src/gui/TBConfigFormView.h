#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lv {

class TBConfigForm;

// The bookmark editor on screen. It shows a TBConfigForm, hands the typed texts back to it
// before every button, and closes when the form says so.
class TBConfigFormView : public QDialog {
    Q_OBJECT
public:
    explicit TBConfigFormView(QWidget* parent = nullptr, QString helpFile = {});

    // Shows the form modally until one of its buttons (or Escape) closes it.
    void Edit(TBConfigForm& form);

protected:
    void reject() override;

private:
    void Fill();
    void TakeTexts();
    void Run(void (TBConfigForm::*handler)());
    QPushButton* AddButton(const QString& name, const QString& text, int x, int y,
                           void (TBConfigForm::*handler)());

    QString helpFile_;
    TBConfigForm* form_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* url_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    QLineEdit* extra_ = nullptr;
    QCheckBox* passBox_ = nullptr;
    QCheckBox* runBox_ = nullptr;
    QLabel* urlLabel_ = nullptr;
    QLabel* notesLabel_ = nullptr;
    QLabel* extraLabel_ = nullptr;
    QPushButton* saveText_ = nullptr;
    QPushButton* erase_ = nullptr;
    QPushButton* move_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* email_ = nullptr;
    QPushButton* color_ = nullptr;
    QPushButton* resetColor_ = nullptr;
    QPushButton* icon_ = nullptr;
};

} // namespace lv
