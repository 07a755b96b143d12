#include "gui/TAlphaFormView.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "pages/TAlphaForm.h"

#include <QButtonGroup>
#include <QDesktopServices>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace lv {
namespace {

const QString kSilver = QStringLiteral("QTreeWidget { background: #C0C0C0; }");

} // namespace

TAlphaFormView::TAlphaFormView(QWidget* parent, QString helpFile)
    : QDialog(parent), helpFile_(std::move(helpFile)) {
    setObjectName(QStringLiteral("AlphaForm"));
    auto* optional = new QLabel(QStringLiteral("[OPTIONAL]"), this);
    auto* select = new QLabel(QStringLiteral("Select Multiple Pages to Apply?"), this);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("PageListView"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Page Tab Name"), QStringLiteral("Pg.")});
    list_->setColumnWidth(0, 130);
    list_->setColumnWidth(1, 30);
    // Both columns whole, with room for the vertical scroll bar of a long page list.
    list_->setMinimumWidth(130 + 30 + 2 * list_->frameWidth() +
                           list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setStyleSheet(kSilver);
    list_->viewport()->installEventFilter(this);
    connect(list_, &QTreeWidget::itemClicked, this, [this] {
        form_->PageListViewClick();
        setWindowTitle(Q(form_->Caption()));
    });

    auto* colors = new QGroupBox(QStringLiteral("Bookmark Color?"), this);
    colors->setObjectName(QStringLiteral("ColorGroup"));
    auto* colorLayout = new QVBoxLayout(colors);
    colorGroup_ = new QButtonGroup(this);
    const QString items[] = {QStringLiteral("All Colors"), QStringLiteral("Default Color"),
                             QStringLiteral("Selected Color")};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(items[i], colors);
        colorGroup_->addButton(radio, i);
        colorLayout->addWidget(radio);
    }
    connect(colorGroup_, &QButtonGroup::idClicked, this, [this](int item) {
        form_->ColorGroupClick(item);
        // A cancelled colour dialog goes back to "All Colors".
        ShowColorItem();
    });

    action_ = new QPushButton(this);
    action_->setObjectName(QStringLiteral("AlphaBtn"));
    action_->setDefault(true);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(action_, &QPushButton::clicked, this, [this] {
        for (int row = 0; row < list_->topLevelItemCount(); ++row) {
            form_->SelectRow(row, list_->topLevelItem(row)->isSelected());
        }
        form_->AlphaBtnClick();
        accept();
    });
    connect(help, &QPushButton::clicked, this, [this] {
        QUrl url = QUrl::fromLocalFile(helpFile_);
        url.setFragment(QStringLiteral("topic-%1").arg(TAlphaForm::kHelpTopic));
        QDesktopServices::openUrl(url);
    });
    connect(close, &QPushButton::clicked, this, [this] { reject(); });

    auto* side = new QVBoxLayout;
    side->addWidget(optional);
    side->addWidget(select);
    side->addWidget(colors);
    side->addStretch();
    side->addWidget(action_);
    side->addWidget(help);
    side->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(side);
    resize(400, 300);
}

void TAlphaFormView::Choose(TAlphaForm& form, int backColor, int fontColor) {
    form_ = &form;
    QPalette look = palette();
    look.setColor(QPalette::Window, ToQColor(backColor, look));
    look.setColor(QPalette::WindowText, ToQColor(fontColor, look));
    setPalette(look);
    setAutoFillBackground(true);
    Fill();
    exec();
    form_ = nullptr;
}

void TAlphaFormView::Fill() {
    setWindowTitle(Q(form_->Caption()));
    QString action = Q(form_->ActionCaption());
    action_->setText(action.replace(QLatin1Char('&'), QStringLiteral("&&")));
    list_->clear();
    for (const TAlphaForm::Row& row : form_->Rows()) {
        list_->addTopLevelItem(new QTreeWidgetItem({Q(row.name), Q(row.number)}));
    }
    list_->setStyleSheet(kSilver);
    ShowColorItem();
}

void TAlphaFormView::ShowColorItem() {
    if (QAbstractButton* item = colorGroup_->button(form_->ColorGroupIndex())) {
        item->setChecked(true);
    }
}

void TAlphaFormView::reject() {
    if (form_ != nullptr) {
        form_->CloseBtnClick();
    }
    QDialog::reject();
}

// The list lights up while the pointer is over it.
bool TAlphaFormView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport()) {
        if (event->type() == QEvent::Enter) {
            list_->setStyleSheet(QString());
        } else if (event->type() == QEvent::Leave) {
            list_->setStyleSheet(kSilver);
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace lv
