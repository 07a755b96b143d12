#include "gui/TBConfigFormView.h"

#include "gui/Colors.h"
#include "gui/GlyphPainter.h"
#include "gui/QtText.h"
#include "mainwindow/TBConfigForm.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

namespace lv {
namespace {

QLabel* Label(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

TBConfigFormView::TBConfigFormView(QWidget* parent, QString helpFile)
    : QDialog(parent), helpFile_(std::move(helpFile)) {
    setObjectName(QStringLiteral("BConfigForm"));
    setWindowTitle(QStringLiteral("Bookmark"));
    setFixedSize(365, 333);

    auto* note = Label(
        this, QStringLiteral("Please feel free to change any of the text fields below."), 8, 6);
    note->setObjectName(QStringLiteral("Note"));
    Label(this, QStringLiteral("Title"), 8, 30);
    title_ = new QLineEdit(this);
    title_->setObjectName(QStringLiteral("Desc1"));
    title_->setGeometry(80, 28, 277, 21);
    urlLabel_ = Label(this, QStringLiteral("URL"), 8, 56);
    url_ = new QLineEdit(this);
    url_->setObjectName(QStringLiteral("URL1"));
    url_->setGeometry(80, 54, 277, 21);
    notesLabel_ = Label(this, QStringLiteral("Notes\n'Keywords'"), 8, 82);
    notes_ = new QPlainTextEdit(this);
    notes_->setObjectName(QStringLiteral("EI1"));
    notes_->setGeometry(80, 80, 277, 76);
    // Tab goes on to the next field, as it does from every other field of the editor.
    notes_->setTabChangesFocus(true);
    extraLabel_ = Label(this, QStringLiteral("Extra Info"), 8, 164);
    extra_ = new QLineEdit(this);
    extra_->setObjectName(QStringLiteral("EI2"));
    extra_->setGeometry(80, 162, 277, 21);

    passBox_ = new QCheckBox(QStringLiteral("&Password Protect Bookmark?"), this);
    passBox_->setObjectName(QStringLiteral("PassBox"));
    passBox_->setGeometry(8, 190, 349, 20);
    runBox_ = new QCheckBox(QStringLiteral("&Launch file from Local system?"), this);
    runBox_->setObjectName(QStringLiteral("RunBox"));
    runBox_->setGeometry(8, 212, 349, 20);
    connect(passBox_, &QCheckBox::clicked, this, [this] { Run(&TBConfigForm::PassBoxClick); });
    connect(runBox_, &QCheckBox::clicked, this, [this] { Run(&TBConfigForm::RunBoxClick); });

    color_ = AddButton(QStringLiteral("BMColor"), QStringLiteral("Change Bookmark Color"), 8, 238,
                       &TBConfigForm::BMColorClick);
    color_->resize(170, 24);
    resetColor_ = AddButton(QStringLiteral("ResetColor"), QStringLiteral("Reset Bookmark Color"),
                            187, 238, &TBConfigForm::ResetColorClick);
    resetColor_->resize(170, 24);

    saveText_ = AddButton(QStringLiteral("SaveText"), QStringLiteral("Save Text"), 8, 270,
                          &TBConfigForm::SaveTextClick);
    move_ = AddButton(QStringLiteral("Move"), QStringLiteral("Move"), 95, 270,
                      &TBConfigForm::MoveClick);
    copy_ = AddButton(QStringLiteral("Copy"), QStringLiteral("Copy"), 182, 270,
                      &TBConfigForm::CopyClick);
    erase_ = AddButton(QStringLiteral("Erase"), QStringLiteral("Erase"), 269, 270,
                       &TBConfigForm::EraseClick);
    AddButton(QStringLiteral("Help"), QStringLiteral("Help"), 8, 302, &TBConfigForm::HelpClick);
    email_ = AddButton(QStringLiteral("Email"), QStringLiteral("Email"), 95, 302,
                       &TBConfigForm::EmailClick);
    AddButton(QStringLiteral("Cancel"), QStringLiteral("Cancel"), 269, 302,
              &TBConfigForm::CancelClick);
    // "Icon" shows the bookmark's glyph and opens the icon chooser.
    icon_ = AddButton(QStringLiteral("IconButton"), QStringLiteral("Icon"), 182, 302,
                      &TBConfigForm::IconClick);

    // Enter in the one-line fields acts as "Save Text".
    for (QLineEdit* edit : {title_, url_, extra_}) {
        connect(edit, &QLineEdit::returnPressed, this,
                [this] { Run(&TBConfigForm::SaveTextClick); });
    }
}

QPushButton* TBConfigFormView::AddButton(const QString& name, const QString& text, int x, int y,
                                         void (TBConfigForm::*handler)()) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(x, y, 88, 24);
    connect(button, &QPushButton::clicked, this, [this, handler] { Run(handler); });
    return button;
}

void TBConfigFormView::Fill() {
    const TBConfigForm& form = *form_;
    title_->setText(Q(form.Desc1));
    title_->setReadOnly(form.titleReadOnly);
    url_->setText(Q(form.URL1));
    notes_->setPlainText(QLines(form.EI1));
    extra_->setText(Q(form.EI2));
    passBox_->setChecked(form.PassBox);
    runBox_->setChecked(form.RunBox);
    for (QWidget* field :
         {static_cast<QWidget*>(url_), static_cast<QWidget*>(notes_), static_cast<QWidget*>(extra_),
          static_cast<QWidget*>(runBox_), static_cast<QWidget*>(urlLabel_),
          static_cast<QWidget*>(notesLabel_), static_cast<QWidget*>(extraLabel_)}) {
        field->setVisible(form.fieldsVisible);
    }
    for (QPushButton* action : {saveText_, erase_, move_, copy_, email_, color_}) {
        action->setVisible(form.actionsVisible);
    }
    for (QPushButton* action : {erase_, move_, copy_}) {
        action->setVisible(form.actionsVisible && form.slotActionsVisible);
    }
    runBox_->setVisible(form.fieldsVisible && form.slotActionsVisible);
    resetColor_->setVisible(form.actionsVisible && form.resetColorVisible);
    passBox_->setVisible(form.passBoxVisible);
    icon_->setIcon(QIcon(GlyphPainter().Paint(form.glyph)));
    color_->setStyleSheet(
        QStringLiteral("color: %1;").arg(ToQColor(form.bookmarkColor, palette()).name()));
}

void TBConfigFormView::TakeTexts() {
    TBConfigForm& form = *form_;
    form.Desc1 = FromQ(title_->text());
    // A field the editor hid keeps the text it was given (a scrambled target stays as it is).
    if (form.fieldsVisible) {
        form.URL1 = FromQ(url_->text());
        QString notes = notes_->toPlainText().left(TBConfigForm::kNotesLimit);
        notes.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        form.EI1 = FromQ(notes);
        form.EI2 = FromQ(extra_->text());
    }
}

void TBConfigFormView::Run(void (TBConfigForm::*handler)()) {
    if (form_ == nullptr) {
        return;
    }
    TakeTexts();
    (form_->*handler)();
    if (form_->Closed()) {
        accept();
    } else {
        Fill();
    }
}

void TBConfigFormView::reject() {
    if (form_ != nullptr) {
        form_->CancelClick();
    }
    QDialog::reject();
}

void TBConfigFormView::Edit(TBConfigForm& form) {
    form_ = &form;
    if (!form.onHelp) {
        form.onHelp = [this](int topic) {
            QUrl url = QUrl::fromLocalFile(helpFile_);
            url.setFragment(QStringLiteral("topic-%1").arg(topic));
            QDesktopServices::openUrl(url);
        };
    }
    Fill();
    title_->setFocus();
    exec();
    if (!form.Closed()) {
        form.CancelClick();
    }
    form_ = nullptr;
}

} // namespace lv
