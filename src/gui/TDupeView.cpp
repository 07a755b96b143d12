#include "gui/TDupeView.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "gui/ToolIcons.h"
#include "tools/TDupe.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace lv {

void DupeListModel::SetWindow(const TDupe* dupe) {
    beginResetModel();
    dupe_ = dupe;
    endResetModel();
}

void DupeListModel::Reset() {
    beginResetModel();
    endResetModel();
}

int DupeListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || dupe_ == nullptr ? 0 : static_cast<int>(dupe_->RowCount());
}

int DupeListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TDupe::kColumnCount;
}

QVariant DupeListModel::data(const QModelIndex& index, int role) const {
    if (dupe_ == nullptr || !index.isValid() || role != Qt::DisplayRole) {
        return {};
    }
    return Q(dupe_->Cell(static_cast<std::size_t>(index.row()), index.column()));
}

QVariant DupeListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return QString::fromLatin1(TDupe::ColumnTitle(section));
}

TDupeView::TDupeView(QWidget* parent, DispatchFn dispatch)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      dispatch_(std::move(dispatch)) {
    setObjectName(QStringLiteral("Dupe"));
    setModal(false);
    resize(620, 449);

    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Search for What?"), this);
    group->setObjectName(QStringLiteral("SearchGroup"));
    auto* groupLayout = new QHBoxLayout(group);
    modes_ = new QButtonGroup(this);
    const char* const captions[] = {"URL", "Title", "Keyword", "Duplicates"};
    for (int i = 0; i < 4; ++i) {
        modeButtons_[i] = new QRadioButton(QString::fromLatin1(captions[i]), group);
        modes_->addButton(modeButtons_[i], i);
        groupLayout->addWidget(modeButtons_[i]);
    }
    connect(modes_, &QButtonGroup::idClicked, this,
            [this](int mode) { Run([this, mode] { dupe_->SearchGroupClick(mode); }); });
    layout->addWidget(group);

    auto* searchRow = new QHBoxLayout;
    caseBox_ = new QCheckBox(QStringLiteral("Case Sensitive - Search Text:"), this);
    caseBox_->setObjectName(QStringLiteral("CaseBox"));
    connect(caseBox_, &QCheckBox::toggled, this, [this](bool on) {
        if (dupe_ != nullptr) {
            dupe_->CaseBox = on;
        }
    });
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const std::string typed = FromQ(text);
        Run([this, typed] { dupe_->Edit1Change(typed); });
    });
    connect(edit_, &QLineEdit::returnPressed, this,
            [this] { Run([this] { dupe_->SearchButtonClick(); }, true); });
    search_ = new QToolButton(this);
    search_->setObjectName(QStringLiteral("SearchButton"));
    search_->setToolTip(QStringLiteral("Search for Bookmarks"));
    search_->setIcon(ToolIcon(QStringLiteral("SearchLinkvaneButton")));
    connect(search_, &QToolButton::clicked, this,
            [this] { Run([this] { dupe_->SearchButtonClick(); }, true); });
    searchRow->addWidget(caseBox_);
    searchRow->addWidget(edit_, 1);
    searchRow->addWidget(search_);
    layout->addLayout(searchRow);

    auto* optionRow = new QHBoxLayout;
    asYouType_ = new QCheckBox(QStringLiteral("Search as I type"), this);
    asYouType_->setObjectName(QStringLiteral("SearchAsYouType"));
    asYouType_->setToolTip(QStringLiteral("Show the bookmarks whose title, URL or notes hold the "
                                          "text after every key"));
    connect(asYouType_, &QCheckBox::toggled, this, [this](bool on) {
        if (dupe_ != nullptr) {
            dupe_->searchAsYouType = on;
        }
    });
    trivial_ =
        new QCheckBox(QStringLiteral("Ignore differences that do not change the page"), this);
    trivial_->setObjectName(QStringLiteral("IgnoreTrivial"));
    trivial_->setToolTip(QStringLiteral("Duplicates: letter case of the site name, a default "
                                        "port, a leading www., a fragment or a trailing /"));
    connect(trivial_, &QCheckBox::toggled, this, [this](bool on) {
        if (dupe_ != nullptr) {
            dupe_->ignoreTrivialDifferences = on;
        }
    });
    optionRow->addWidget(asYouType_);
    optionRow->addWidget(trivial_);
    optionRow->addStretch(1);
    layout->addLayout(optionRow);
    // The hint beside the three buttons, under the list.
    auto* buttonRow = new QHBoxLayout;
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("ListHint"));
    buttonRow->addWidget(hint_, 1);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpBtn"));
    connect(help, &QPushButton::clicked, this, [this] { Run([this] { dupe_->HelpBtnClick(); }); });
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("CloseBtn"));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    move_ = new QPushButton(QStringLiteral("Move"), this);
    move_->setObjectName(QStringLiteral("MoveBtn"));
    connect(move_, &QPushButton::clicked, this,
            [this] { Run([this] { dupe_->MoveBtnClick(); }, true); });
    for (QPushButton* button : {help, closeButton, move_}) {
        button->setAutoDefault(false);
        buttonRow->addWidget(button);
    }

    model_ = new DupeListModel(this);
    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("ListView2"));
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setStretchLastSection(true);
    for (int column = 0; column < TDupe::kColumnCount; ++column) {
        list_->setColumnWidth(column, TDupe::ColumnWidth(column));
    }
    connect(list_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        const int row = index.isValid() ? index.row() : -1;
        Run([this, row] { dupe_->ListView2Click(row); });
    });
    layout->addWidget(list_, 1);
    layout->addLayout(buttonRow);
}

void TDupeView::Open(TDupe& dupe) {
    const bool first = dupe_ == nullptr;
    dupe_ = &dupe;
    model_->SetWindow(dupe_);
    if (first || !isVisible()) {
        if (QScreen* screen = QApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
        dupe_->FormActivate();
    }
    Render();
    show();
    raise();
    activateWindow();
    edit_->setFocus();
}

void TDupeView::Run(const std::function<void()>& handler, bool busy) {
    if (dupe_ == nullptr || inHandler_) {
        return;
    }
    inHandler_ = true;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    dispatch_(handler);
    if (busy) {
        QApplication::restoreOverrideCursor();
    }
    inHandler_ = false;
    if (dupe_->CloseRequested()) {
        close();
        return;
    }
    Render();
}

void TDupeView::Render() {
    if (dupe_ == nullptr) {
        return;
    }
    const TDupe& dupe = *dupe_;
    setWindowTitle(Q(dupe.Caption));
    if (QAbstractButton* mode = modes_->button(dupe.SearchGroup)) {
        mode->setChecked(true);
    }
    caseBox_->setChecked(dupe.CaseBox);
    caseBox_->setVisible(dupe.searchTextVisible);
    if (FromQ(edit_->text()) != dupe.Edit1) {
        edit_->setText(Q(dupe.Edit1));
    }
    edit_->setVisible(dupe.searchTextVisible);
    asYouType_->setChecked(dupe.searchAsYouType);
    trivial_->setChecked(dupe.ignoreTrivialDifferences);
    model_->Reset();
    list_->setVisible(dupe.listVisible);
    list_->setToolTip(Q(dupe.listHint));
    hint_->setText(Q(dupe.listHint));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(dupe.backColor, palette()));
    colours.setColor(QPalette::WindowText, ToQColor(dupe.fontColor, palette()));
    setPalette(colours);
    setAutoFillBackground(true);
}

void TDupeView::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || dupe_ == nullptr) {
        return;
    }
    // The window's own dialogs take the activation for a while inside a handler; coming back
    // from them is not coming back to the window.
    if (!isActiveWindow()) {
        ownDialogShown_ = ownDialogShown_ || inHandler_;
        return;
    }
    if (inHandler_ || ownDialogShown_) {
        ownDialogShown_ = false;
        return;
    }
    Run([this] { dupe_->FormActivate(); });
}

void TDupeView::closeEvent(QCloseEvent* event) {
    if (dupe_ != nullptr) {
        TDupe& dupe = *dupe_;
        inHandler_ = false;
        dispatch_([&dupe] { dupe.FormClose(); });
        Render();
    }
    QDialog::closeEvent(event);
}

} // namespace lv
