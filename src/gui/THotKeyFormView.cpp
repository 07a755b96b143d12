#include "gui/THotKeyFormView.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "tools/THotKeyForm.h"
#include "tools/THotKeyManager.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lv {

namespace {

QString Latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

THotKeyFormView::THotKeyFormView(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HotKeyForm"));
    setWindowTitle(QStringLiteral("Define HotKeys"));
    resize(THotKeyForm::kWidth, THotKeyForm::kHeight);
    auto* whole = new QVBoxLayout(this);
    unavailable_ = new QLabel(this);
    unavailable_->setObjectName(QStringLiteral("Unavailable"));
    unavailable_->setWordWrap(true);
    whole->addWidget(unavailable_);
    auto* grid = new QGridLayout;
    whole->addLayout(grid);
    QStringList keys;
    for (std::string_view key : THotKeyForm::kKeyList) {
        keys << Latin(key);
    }
    for (int i = 0; i < THotKeyForm::kRows; ++i) {
        RowControls& row = rows_[static_cast<std::size_t>(i)];
        row.ctrl = new QCheckBox(QStringLiteral("Ctrl"), this);
        row.alt = new QCheckBox(QStringLiteral("Alt"), this);
        row.shift = new QCheckBox(QStringLiteral("Shift"), this);
        row.ctrl->setObjectName(QStringLiteral("Ctrl%1").arg(i));
        row.alt->setObjectName(QStringLiteral("Alt%1").arg(i));
        row.shift->setObjectName(QStringLiteral("Shift%1").arg(i));
        row.key = new QComboBox(this);
        row.key->setObjectName(QStringLiteral("Box%1").arg(i));
        row.key->setEditable(true);
        row.key->setInsertPolicy(QComboBox::NoInsert);
        row.key->addItems(keys);
        row.disable = new QCheckBox(QStringLiteral("Disable"), this);
        row.disable->setObjectName(QStringLiteral("DBox%1").arg(i));
        grid->addWidget(row.ctrl, i, 0);
        grid->addWidget(row.alt, i, 1);
        grid->addWidget(row.shift, i, 2);
        grid->addWidget(new QLabel(QStringLiteral(" + "), this), i, 3);
        grid->addWidget(row.key, i, 4);
        const std::string_view item = THotKeyManager::kItemTexts[static_cast<std::size_t>(i)];
        grid->addWidget(new QLabel(QStringLiteral("=  ") + Latin(item), this), i, 5);
        grid->addWidget(row.disable, i, 6);
        connect(row.disable, &QCheckBox::clicked, this, [this, i](bool checked) {
            if (form_ == nullptr || filling_) {
                return;
            }
            TakeRows();
            form_->DBoxClick(i, checked);
            Fill();
        });
    }
    auto* buttons = new QHBoxLayout;
    whole->addLayout(buttons);
    auto* save = new QPushButton(QStringLiteral("Save and Close"), this);
    save->setObjectName(QStringLiteral("SaveBtn"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpBtn"));
    for (QPushButton* button : {save, close, help}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    connect(save, &QPushButton::clicked, this, [this] {
        if (form_ == nullptr) {
            return;
        }
        TakeRows();
        form_->SaveAndCloseClick();
        if (form_->Closed()) {
            QDialog::accept();
        }
    });
    connect(close, &QPushButton::clicked, this, [this] { reject(); });
    connect(help, &QPushButton::clicked, this, [this] {
        if (form_ != nullptr) {
            form_->HelpClick();
        }
    });
}

void THotKeyFormView::Fill() {
    filling_ = true;
    QPalette look = palette();
    look.setColor(QPalette::Window, ToQColor(form_->backColor, look));
    look.setColor(QPalette::WindowText, ToQColor(form_->fontColor, look));
    setPalette(look);
    setAutoFillBackground(true);
    const std::string& said = form_->available ? form_->desktopNote : form_->unavailableText;
    unavailable_->setVisible(!said.empty());
    unavailable_->setText(Q(said));
    for (int i = 0; i < THotKeyForm::kRows; ++i) {
        const THotKeyForm::Row& row = form_->rows[static_cast<std::size_t>(i)];
        RowControls& controls = rows_[static_cast<std::size_t>(i)];
        controls.ctrl->setChecked(row.ctrl);
        controls.alt->setChecked(row.alt);
        controls.shift->setChecked(row.shift);
        controls.key->setEditText(Q(row.key));
        controls.disable->setChecked(row.disable);
    }
    filling_ = false;
}

void THotKeyFormView::TakeRows() {
    for (int i = 0; i < THotKeyForm::kRows; ++i) {
        THotKeyForm::Row& row = form_->rows[static_cast<std::size_t>(i)];
        const RowControls& controls = rows_[static_cast<std::size_t>(i)];
        row.ctrl = controls.ctrl->isChecked();
        row.alt = controls.alt->isChecked();
        row.shift = controls.shift->isChecked();
        row.key = FromQ(controls.key->currentText());
        row.disable = controls.disable->isChecked();
    }
}

void THotKeyFormView::Edit(THotKeyForm& form) {
    form_ = &form;
    Fill();
    exec();
    if (!form.Closed()) {
        form.CloseClick();
    }
    form_ = nullptr;
}

void THotKeyFormView::reject() {
    if (form_ != nullptr) {
        form_->CloseClick();
    }
    QDialog::reject();
}

} // namespace lv
