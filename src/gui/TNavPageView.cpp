#include "gui/TNavPageView.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "mainwindow/TNavPage.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeWidget>
#include <algorithm>

namespace lv {

TNavPageView::TNavPageView(const NavPageRequest& request, QWidget* parent)
    : QDialog(parent), request_(request) {
    setObjectName(QStringLiteral("NavPage"));
    setWindowTitle(QStringLiteral("Page Navigation"));
    resize(190, 467);
    QPalette look = palette();
    look.setColor(QPalette::Window, ToQColor(request.backColor, look));
    look.setColor(QPalette::WindowText, ToQColor(request.fontColor, look));
    look.setColor(QPalette::Base, ToQColor(request.backColor, look));
    look.setColor(QPalette::Text, ToQColor(request.fontColor, look));
    setPalette(look);
    setAutoFillBackground(true);

    alphabetical_ = new QCheckBox(QStringLiteral("List Page Tabs Alphabetically?"), this);
    alphabetical_->setObjectName(QStringLiteral("CheckBox1"));
    // At least as large as the caption needs in the desktop's font and scale.
    const QSize needed = alphabetical_->sizeHint();
    alphabetical_->setGeometry(8, 8, std::max(180, needed.width()), std::max(20, needed.height()));
    resize(std::max(width(), alphabetical_->geometry().right() + 9), height());
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ListView1"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Page Tab Name"), QStringLiteral("Pg.")});
    list_->setColumnWidth(0, 130);
    list_->setColumnWidth(1, 30);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setPalette(look);

    connect(alphabetical_, &QCheckBox::toggled, this, [this] { Fill(); });
    const auto choose = [this](QTreeWidgetItem* item) {
        chosen_ = item->data(1, Qt::UserRole).toInt();
        accept();
    };
    connect(list_, &QTreeWidget::itemClicked, this, choose);
    // Enter on a row chooses it as a click does.
    connect(list_, &QTreeWidget::itemActivated, this, choose);
    Fill();
    // The keys start on the page shown now: Up or Down, then Enter, go to its neighbour.
    list_->setFocus();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void TNavPageView::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int top = alphabetical_->geometry().bottom() + 5;
    list_->setGeometry(0, top, width(), std::max(0, height() - top - 18));
}

void TNavPageView::Fill() {
    // Sorting keeps the row the keys are on.
    const QTreeWidgetItem* was = list_->currentItem();
    const int current = was != nullptr ? was->data(1, Qt::UserRole).toInt() : request_.current + 1;
    list_->clear();
    for (const NavPageRow& row : NavPageRows(request_.pages, alphabetical_->isChecked())) {
        auto* item = new QTreeWidgetItem(list_, {Q(row.name), QString::number(row.number)});
        item->setData(1, Qt::UserRole, row.number);
        if (row.number == current) {
            list_->setCurrentItem(item);
        }
    }
}

int TNavPageView::Choose() {
    chosen_ = 0;
    exec();
    return chosen_;
}

} // namespace lv
