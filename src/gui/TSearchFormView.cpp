#include "gui/TSearchFormView.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "tools/TSearchForm.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace lv {

TSearchFormView::TSearchFormView(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SearchForm"));
    setFixedSize(374, 351);

    topicLabel_ = new QLabel(QStringLiteral("Enter Search Topic:"), this);
    topicLabel_->setGeometry(8, 6, 250, 16);
    topic_ = new QLineEdit(this);
    topic_->setObjectName(QStringLiteral("SearchText1"));
    topic_->setGeometry(8, 24, 250, 24);
    searchLabel_ = new QLabel(QStringLiteral("Search"), this);
    searchLabel_->setGeometry(272, 6, 90, 16);
    searchLabel_->setAlignment(Qt::AlignHCenter);
    search_ = AddButton(QStringLiteral("SearchButton1"), QStringLiteral("Search"), 272, 24, 90,
                        &TSearchForm::SearchButton1Click);
    search_->setToolTip(QStringLiteral("Press to start Search"));

    listLabel_ = new QLabel(QStringLiteral("Select Search Sites:"), this);
    listLabel_->setGeometry(8, 56, 160, 16);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("Label10"));
    count_->setGeometry(170, 56, 88, 16);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("SiteList"));
    list_->setGeometry(8, 74, 250, 268);
    list_->setColumnCount(1);
    list_->setHeaderLabels({QStringLiteral("Search Sites")});
    list_->setColumnWidth(0, 225);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::MultiSelection);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (filling_ || form_ == nullptr) {
            return;
        }
        for (int row = 0; row < list_->topLevelItemCount(); ++row) {
            form_->SelectSite(row, list_->topLevelItem(row)->isSelected());
        }
        Fill();
    });
    // The site name takes the list's place while a site is added or renamed.
    siteLabel_ = new QLabel(QStringLiteral("New Site Name:"), this);
    siteLabel_->setGeometry(8, 56, 160, 16);
    siteName_ = new QLineEdit(this);
    siteName_->setObjectName(QStringLiteral("SiteName1"));
    siteName_->setToolTip(QStringLiteral("Enter New Site Name Here!"));
    siteName_->setGeometry(8, 74, 250, 24);

    add_ = AddButton(QStringLiteral("AddButton1"), QStringLiteral("Add"), 272, 74, 90,
                     &TSearchForm::AddButton1Click);
    delete_ = AddButton(QStringLiteral("DeleteButton1"), QStringLiteral("Delete"), 272, 102, 90,
                        &TSearchForm::DeleteButton1Click);
    rename_ = AddButton(QStringLiteral("RenameButton1"), QStringLiteral("Rename"), 272, 130, 90,
                        &TSearchForm::RenameButton1Click);
    files_[0] = AddButton(QStringLiteral("NewButton1"), QStringLiteral("New File"), 266, 170, 100,
                          &TSearchForm::NewButton1Click);
    files_[1] = AddButton(QStringLiteral("LoadButton1"), QStringLiteral("Load File"), 266, 198, 100,
                          &TSearchForm::LoadButton1Click);
    files_[2] = AddButton(QStringLiteral("MergeButton1"), QStringLiteral("Merge File"), 266, 226,
                          100, &TSearchForm::MergeButton1Click);
    files_[3] = AddButton(QStringLiteral("SaveButton1"), QStringLiteral("Save File As"), 266, 254,
                          100, &TSearchForm::SaveButton1Click);
    AddButton(QStringLiteral("HelpButton1"), QStringLiteral("Help"), 266, 316, 48,
              &TSearchForm::HelpButton1Click);
    AddButton(QStringLiteral("CloseButton1"), QStringLiteral("Close"), 318, 316, 48,
              &TSearchForm::CloseButton1Click);

    for (QLineEdit* edit : {topic_, siteName_}) {
        connect(edit, &QLineEdit::returnPressed, this,
                [this] { Run([](TSearchForm& f) { f.KeyEnter(); }); });
    }
}

QPushButton* TSearchFormView::AddButton(const QString& name, const QString& text, int x, int y,
                                        int width, void (TSearchForm::*handler)()) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(x, y, width, 24);
    connect(button, &QPushButton::clicked, this,
            [this, handler] { Run([handler](TSearchForm& f) { (f.*handler)(); }); });
    return button;
}

template <typename Handler> void TSearchFormView::Run(Handler handler) {
    if (form_ == nullptr) {
        return;
    }
    TakeTexts();
    handler(*form_);
    if (form_->Closed()) {
        accept();
    } else {
        Fill();
    }
}

void TSearchFormView::TakeTexts() {
    form_->SearchText1 = FromQ(topic_->text());
    form_->SiteName1 = FromQ(siteName_->text());
}

void TSearchFormView::Fill() {
    const TSearchForm& form = *form_;
    filling_ = true;
    setWindowTitle(Q(form.caption));
    const QColor back = ToQColor(form.backColor, palette());
    const QColor text = ToQColor(form.fontColor, palette());
    setStyleSheet(QStringLiteral("QDialog { background: %1; } QLabel { color: %2; }")
                      .arg(back.name(), text.name()));
    if (topic_->text() != Q(form.SearchText1)) {
        topic_->setText(Q(form.SearchText1));
    }
    siteName_->setText(Q(form.SiteName1));
    const auto& sites = form.Sites();
    bool same = list_->topLevelItemCount() == static_cast<int>(sites.size());
    for (int row = 0; same && row < list_->topLevelItemCount(); ++row) {
        same = list_->topLevelItem(row)->text(0) == Q(sites[static_cast<std::size_t>(row)]);
    }
    if (!same) {
        list_->clear();
        for (const std::string& name : sites) {
            list_->addTopLevelItem(new QTreeWidgetItem({Q(name)}));
        }
    }
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        list_->topLevelItem(row)->setSelected(form.Selected(row));
    }
    count_->setText(Q(form.Label10));
    add_->setText(Q(form.addCaption));
    rename_->setText(Q(form.renameCaption));

    topicLabel_->setVisible(form.topicVisible);
    topic_->setVisible(form.topicVisible);
    for (QWidget* w : {static_cast<QWidget*>(list_), static_cast<QWidget*>(listLabel_),
                       static_cast<QWidget*>(count_)}) {
        w->setVisible(form.listVisible && !form.siteNameVisible);
    }
    siteLabel_->setVisible(form.siteNameVisible);
    siteName_->setVisible(form.siteNameVisible);
    search_->setVisible(form.searchVisible);
    searchLabel_->setVisible(form.searchVisible);
    delete_->setVisible(form.deleteVisible);
    for (QPushButton* button : files_) {
        button->setVisible(form.fileButtonsVisible);
        button->setEnabled(form.fileButtonsEnabled);
    }
    search_->setEnabled(form.searchEnabled);
    add_->setEnabled(form.addEnabled || form.addCaption == "SAVE");
    delete_->setEnabled(form.deleteEnabled);
    rename_->setEnabled(form.renameEnabled || form.renameCaption == "Save Name");
    filling_ = false;
}

void TSearchFormView::reject() {
    if (form_ != nullptr) {
        form_->CloseButton1Click();
    }
    QDialog::reject();
}

void TSearchFormView::Search(TSearchForm& form) {
    form_ = &form;
    form.onBusy = [](bool busy) {
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    };
    Fill();
    topic_->setFocus();
    exec();
    if (!form.Closed()) {
        form.CloseButton1Click();
    }
    form.onBusy = nullptr;
    form_ = nullptr;
}

} // namespace lv
