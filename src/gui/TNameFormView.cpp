#include "gui/TNameFormView.h"

#include "gui/QtText.h"
#include "mainwindow/TNameForm.h"

#include <QLineEdit>
#include <QPushButton>

namespace lv {

TNameFormView::TNameFormView(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NameForm"));
    setWindowTitle(QString::fromLatin1(TNameForm::kCaption));
    setFixedSize(260, 70);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    edit_->setGeometry(8, 8, 244, 22);
    auto* save = new QPushButton(QStringLiteral("Save Name"), this);
    save->setObjectName(QStringLiteral("SaveName"));
    save->setGeometry(92, 38, 75, 25);
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &TNameFormView::accept);
}

void TNameFormView::Edit(TNameForm& form) {
    form_ = &form;
    edit_->setText(Q(form.Edit1));
    edit_->selectAll();
    edit_->setFocus();
    exec();
    if (!form.Closed()) {
        form.EscapeKey();
    }
    form_ = nullptr;
}

void TNameFormView::accept() {
    if (form_ != nullptr) {
        form_->Edit1 = FromQ(edit_->text());
        form_->SaveNameClick();
    }
    QDialog::accept();
}

void TNameFormView::reject() {
    if (form_ != nullptr) {
        form_->EscapeKey();
    }
    edit_->clear();
    QDialog::reject();
}

} // namespace lv
