#include "gui/TEFormView.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "gui/TWaitView.h"
#include "web/TEForm.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lv {

TEFormView::TEFormView(TEForm& form, QWidget* parent) : QDialog(parent), form_(form) {
    setObjectName(QStringLiteral("EForm"));
    auto* layout = new QVBoxLayout(this);

    auto* head = new QFormLayout;
    recipient_ = new QComboBox(this);
    recipient_->setObjectName(QStringLiteral("Edit1"));
    recipient_->setEditable(true);
    recipient_->setInsertPolicy(QComboBox::NoInsert);
    recipient_->lineEdit()->installEventFilter(this);
    head->addRow(QStringLiteral("Send to:"), recipient_);
    subject_ = new QLineEdit(this);
    subject_->setObjectName(QStringLiteral("Edit2"));
    head->addRow(QStringLiteral("Subject:"), subject_);
    layout->addLayout(head);

    layout->addWidget(new QLabel(QStringLiteral("Comments:"), this));
    comment_ = new QPlainTextEdit(this);
    comment_->setObjectName(QStringLiteral("Memo1"));
    comment_->setMinimumSize(380, 140);
    comment_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(comment_, &QPlainTextEdit::customContextMenuRequested, this,
            [this] { Run([](TEForm& f) { f.Memo1MouseDown(true); }); });
    layout->addWidget(comment_);
    wait_ = new QLabel(QStringLiteral("Please wait..."), this);
    wait_->setAlignment(Qt::AlignCenter);
    wait_->setMinimumHeight(140);
    layout->addWidget(wait_);

    all_ = new QCheckBox(QStringLiteral("Include All E-Mail Addresses."), this);
    all_->setObjectName(QStringLiteral("CBox2"));
    layout->addWidget(all_);

    auto* bookmarks = new QGroupBox(QStringLiteral(" Bookmarks "), this);
    bookmarks->setObjectName(QStringLiteral("BMGroup"));
    auto* items = new QVBoxLayout(bookmarks);
    group_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(TEForm::kItems[i]), bookmarks);
        group_->addButton(radio, i);
        items->addWidget(radio);
    }
    connect(group_, &QButtonGroup::idClicked, this,
            [this](int item) { Run([item](TEForm& f) { f.BMGroupClick(item); }); });
    layout->addWidget(bookmarks);

    // What today's servers ask for beyond the server name of the user information.
    auto* server = new QGroupBox(QStringLiteral(" Mail Server "), this);
    server->setObjectName(QStringLiteral("ServerGroup"));
    auto* serverForm = new QFormLayout(server);
    port_ = new QLineEdit(this);
    port_->setObjectName(QStringLiteral("MailPort"));
    port_->setPlaceholderText(QStringLiteral("usual port"));
    security_ = new QComboBox(this);
    security_->setObjectName(QStringLiteral("MailSecurity"));
    security_->addItems(
        {QStringLiteral("None"), QStringLiteral("STARTTLS"), QStringLiteral("TLS")});
    user_ = new QLineEdit(this);
    user_->setObjectName(QStringLiteral("MailUser"));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("MailPass"));
    password_->setEchoMode(QLineEdit::Password);
    remember_ = new QCheckBox(QStringLiteral("Remember password"), this);
    remember_->setObjectName(QStringLiteral("MailRemember"));
    serverForm->addRow(QStringLiteral("Port:"), port_);
    serverForm->addRow(QStringLiteral("Security:"), security_);
    serverForm->addRow(QStringLiteral("User name:"), user_);
    serverForm->addRow(QStringLiteral("Password:"), password_);
    serverForm->addRow(QString(), remember_);
    layout->addWidget(server);

    countdown_ = new TWaitView(form_.Wait1(), this);
    countdown_->setObjectName(QStringLiteral("Wait1"));
    layout->addWidget(countdown_);

    auto* buttons = new QHBoxLayout;
    const struct {
        const char* name;
        const char* text;
        void (TEForm::*handler)();
    } kButtons[] = {{"Button1", "Send E-Mail", &TEForm::Button1Click},
                    {"Button2", "Load", &TEForm::EGroupClick},
                    {"Help", "Help", &TEForm::HelpClick},
                    {"CloseButton", "Close", &TEForm::CloseButtonClick}};
    for (const auto& b : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(b.text), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        const auto handler = b.handler;
        const bool sends = handler == &TEForm::Button1Click;
        connect(button, &QPushButton::clicked, this, [this, handler, sends] {
            if (sends) {
                // The sending blocks in the form; "Please wait..." shows meanwhile.
                comment_->hide();
                wait_->show();
            }
            Run([handler](TEForm& f) { (f.*handler)(); });
        });
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
}

TEFormView::~TEFormView() = default;

bool TEFormView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == recipient_->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Insert || key == Qt::Key_Delete) {
            const auto which =
                key == Qt::Key_Insert ? TEForm::EditKey::Insert : TEForm::EditKey::Delete;
            Run([which](TEForm& f) { f.Edit1KeyDown(which); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

template <typename Handler> void TEFormView::Run(Handler handler) {
    TakeTexts();
    handler(form_);
    if (form_.Closed()) {
        accept();
    } else {
        Fill();
    }
}

void TEFormView::TakeTexts() {
    if (filling_) {
        return;
    }
    form_.Edit1 = FromQ(recipient_->currentText());
    form_.Edit2 = FromQ(subject_->text());
    form_.Memo1 = FromQ(comment_->toPlainText());
    form_.CBox2 = all_->isChecked();
    form_.mail.port = FromQ(port_->text());
    form_.mail.security = static_cast<MailSecurity>(security_->currentIndex());
    form_.mail.userName = FromQ(user_->text());
    form_.mail.password = FromQ(password_->text());
    form_.mail.rememberPassword = remember_->isChecked();
}

void TEFormView::Fill() {
    filling_ = true;
    setWindowTitle(Q(form_.caption));
    const QColor back = ToQColor(form_.backColor, palette());
    const QColor text = ToQColor(form_.fontColor, palette());
    setStyleSheet(QStringLiteral("QDialog { background: %1; } QLabel, QCheckBox, QGroupBox, "
                                 "QRadioButton { color: %2; }")
                      .arg(back.name(), text.name()));
    recipient_->clear();
    for (const std::string& address : form_.addresses) {
        recipient_->addItem(Q(address));
    }
    recipient_->setEditText(Q(form_.Edit1));
    subject_->setText(Q(form_.Edit2));
    if (comment_->toPlainText() != Q(form_.Memo1)) {
        comment_->setPlainText(Q(form_.Memo1));
    }
    comment_->setLineWrapMode(form_.memoWordWrap ? QPlainTextEdit::WidgetWidth
                                                 : QPlainTextEdit::NoWrap);
    comment_->setFont(QFont(Q(form_.fontName), form_.fontSize));
    comment_->setVisible(form_.memoVisible);
    wait_->setVisible(!form_.memoVisible);
    all_->setChecked(form_.CBox2);
    if (QAbstractButton* item = group_->button(form_.BMGroup)) {
        item->setChecked(true);
    }
    port_->setText(Q(form_.mail.port));
    security_->setCurrentIndex(static_cast<int>(form_.mail.security));
    user_->setText(Q(form_.mail.userName));
    password_->setText(Q(form_.mail.password));
    remember_->setChecked(form_.mail.rememberPassword);
    filling_ = false;
}

void TEFormView::reject() {
    form_.FormClose();
    QDialog::reject();
}

void TEFormView::Send() {
    form_.FormShow();
    form_.FormActivate();
    Fill();
    recipient_->setFocus();
    exec();
    if (!form_.Closed()) {
        form_.FormClose();
    }
}

} // namespace lv
