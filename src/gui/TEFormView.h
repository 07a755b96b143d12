#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lv {

class TEForm;
class TWaitView;

// The e-mail dialog on screen over a TEForm: recipient and address book, subject, comment,
// which bookmarks go along, the mail server's port, security and sign-in, and the countdown
// while the server is waited for. It closes when the form says so.
class TEFormView : public QDialog {
    Q_OBJECT
public:
    explicit TEFormView(TEForm& form, QWidget* parent = nullptr);
    ~TEFormView() override;

    // Shows the dialog for the opener's bookmarks (set in the form) until it closes.
    void Send();

    QComboBox* Recipient() const { return recipient_; }
    QPlainTextEdit* Comment() const { return comment_; }

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    void TakeTexts();
    template <typename Handler> void Run(Handler handler);

    TEForm& form_;
    bool filling_ = false;
    QComboBox* recipient_ = nullptr;
    QLineEdit* subject_ = nullptr;
    QPlainTextEdit* comment_ = nullptr;
    QLabel* wait_ = nullptr;
    QCheckBox* all_ = nullptr;
    QButtonGroup* group_ = nullptr;
    QLineEdit* port_ = nullptr;
    QComboBox* security_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* remember_ = nullptr;
    TWaitView* countdown_ = nullptr;
};

} // namespace lv
