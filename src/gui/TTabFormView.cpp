#include "gui/TTabFormView.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "mainwindow/TTabForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lv {

namespace {

QString Text(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TTabFormView::TTabFormView(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TabForm"));
    setMinimumSize(470, 400);

    auto* pageGroup = new QGroupBox(QStringLiteral("Action for entire Page:"), this);
    pageGroup->setObjectName(QStringLiteral("PageGroup"));
    auto* pageLayout = new QVBoxLayout(pageGroup);
    for (std::size_t i = 0; i < TTabForm::kPageItems.size(); ++i) {
        auto* radio = new QRadioButton(Text(TTabForm::kPageItems[i].caption), pageGroup);
        radio->setObjectName(QStringLiteral("PageItem%1").arg(i));
        pageLayout->addWidget(radio);
        radios_.push_back(radio);
        const int item = static_cast<int>(i);
        connect(radio, &QRadioButton::clicked, this,
                [this, item] { Run([item](TTabForm& f) { f.PageActionClick(item); }); });
    }

    passBox_ = new QCheckBox(QStringLiteral("Password Protect Page"), this);
    passBox_->setObjectName(QStringLiteral("PassBox"));
    connect(passBox_, &QCheckBox::clicked, this,
            [this] { Run([](TTabForm& f) { f.PassBoxClick(); }); });

    bookmarkGroup_ = new QGroupBox(this);
    bookmarkGroup_->setObjectName(QStringLiteral("BookmarkGroup"));
    auto* bookmarkLayout = new QVBoxLayout(bookmarkGroup_);
    for (std::size_t i = 0; i < TTabForm::kBookmarkItems.size(); ++i) {
        auto* radio = new QRadioButton(Text(TTabForm::kBookmarkItems[i]), bookmarkGroup_);
        radio->setObjectName(QStringLiteral("BookmarkItem%1").arg(i));
        bookmarkLayout->addWidget(radio);
        radios_.push_back(radio);
        const int item = static_cast<int>(i);
        connect(radio, &QRadioButton::clicked, this,
                [this, item] { Run([item](TTabForm& f) { f.BookmarkActionClick(item); }); });
    }

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("BtnList"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Btn"), QStringLiteral("Bookmark Title")});
    list_->setColumnWidth(0, 36);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (form_ == nullptr || filling_) {
            return;
        }
        for (int row = 0; row < list_->topLevelItemCount(); ++row) {
            form_->SelectRow(row, list_->topLevelItem(row)->isSelected());
        }
        bookmarkGroup_->setTitle(Q(form_->BookmarkGroupCaption()));
    });

    const struct {
        const char* name;
        const char* text;
        void (TTabForm::*click)();
    } buttons[] = {{"SelectedColor", "Selected Tab Color", &TTabForm::SelectedColorClick},
                   {"UnselectedColor", "Unselected Tab Color", &TTabForm::UnselectedColorClick},
                   {"TabFont", "Tab Font", &TTabForm::FontClick}};
    // Laid out by the fonts of the desktop, so no caption is cut.
    auto* left = new QVBoxLayout;
    left->addWidget(pageGroup);
    left->addWidget(passBox_);
    left->addWidget(bookmarkGroup_);
    left->addStretch();
    auto* buttonRow = new QHBoxLayout;
    auto* right = new QVBoxLayout;
    right->addWidget(list_, 1);
    right->addLayout(buttonRow);
    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left);
    whole->addLayout(right, 1);
    for (const auto& b : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.text), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        buttonRow->addWidget(button);
        const auto click = b.click;
        connect(button, &QPushButton::clicked, this,
                [this, click] { Run([click](TTabForm& f) { (f.*click)(); }); });
    }
}

void TTabFormView::Fill() {
    filling_ = true;
    setWindowTitle(Q(form_->Caption()));
    QPalette look = palette();
    look.setColor(QPalette::Window, ToQColor(form_->BackColor(), look));
    look.setColor(QPalette::WindowText, ToQColor(form_->FontColor(), look));
    setPalette(look);
    setAutoFillBackground(true);
    for (QWidget* radio : radios_) {
        auto* button = static_cast<QRadioButton*>(radio);
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
    static_cast<QRadioButton*>(radios_.front())->setChecked(true); // "Rename Page"
    passBox_->setChecked(form_->PassBox());
    list_->clear();
    for (const TTabForm::Row& row : form_->Rows()) {
        list_->addTopLevelItem(new QTreeWidgetItem({Q(row.btn), Q(row.title)}));
    }
    bookmarkGroup_->setTitle(Q(form_->BookmarkGroupCaption()));
    filling_ = false;
}

void TTabFormView::Edit(TTabForm& form) {
    form_ = &form;
    Fill();
    // A minimum size set on the window overrides the one of its layout, which squeezed the
    // buttons below their captions: the window takes the larger of the two.
    setMinimumSize(QSize(470, 400).expandedTo(layout()->totalMinimumSize()));
    exec();
    if (!form.Closed()) {
        form.CloseClick();
    }
    form_ = nullptr;
}

void TTabFormView::Run(const std::function<void(TTabForm&)>& step) {
    if (form_ == nullptr || filling_) {
        return;
    }
    step(*form_);
    if (form_->Closed()) {
        QDialog::accept();
    }
}

void TTabFormView::reject() {
    if (form_ != nullptr) {
        form_->CloseClick();
    }
    QDialog::reject();
}

} // namespace lv
