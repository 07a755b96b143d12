#include "gui/THttpAsyFormView.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "store/FileError.h"
#include "tools/THttpAsyForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lv {

namespace {

struct Column {
    const char* title;
    int width;
};
constexpr Column kColumns[] = {
    {"Page", 75}, {"Title", 105}, {"Link", 170}, {"Btn", 35}, {"Response", 195}};

} // namespace

THttpAsyFormView::THttpAsyFormView(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HttpAsyForm"));
    view1_ = MakeList(QStringLiteral("View1"));
    view2_ = MakeList(QStringLiteral("View2"));

    bCount_ = new QLabel(QStringLiteral("0"), this);
    bCount_->setObjectName(QStringLiteral("BCountL"));
    uCount_ = new QLabel(QStringLiteral("0"), this);
    uCount_->setObjectName(QStringLiteral("UCountL"));
    tCount_ = new QLabel(QStringLiteral("0"), this);
    tCount_->setObjectName(QStringLiteral("TCountL"));
    tCount_->setAlignment(Qt::AlignCenter);
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName(QStringLiteral("EGauge"));
    gauge_->setAlignment(Qt::AlignCenter);
    gauge_->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: #00C000; }"));

    auto* moveB = new QPushButton(QStringLiteral("Move Bad Links"), this);
    moveB->setObjectName(QStringLiteral("MoveB"));
    auto* moveU = new QPushButton(QStringLiteral("Move Updated Links"), this);
    moveU->setObjectName(QStringLiteral("MoveU"));
    abort_ = new QPushButton(QStringLiteral("Stop Checking"), this);
    abort_->setObjectName(QStringLiteral("AbortButton"));
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    search_ = new QPushButton(QStringLiteral("Check Links"), this);
    search_->setObjectName(QStringLiteral("SearchButton"));
    search_->setToolTip(QStringLiteral("Press to Check Links"));
    search_->setDefault(true);

    wait_ = new QLabel(QStringLiteral("Wait up to 30"), this);
    upDown_ = new QSpinBox(this);
    upDown_->setObjectName(QStringLiteral("UpDown"));
    upDown_->setRange(THttpAsyForm::kMinWait, THttpAsyForm::kMaxWait);
    upDown_->setValue(30);
    atOnce_ = new QSpinBox(this);
    atOnce_->setObjectName(QStringLiteral("LinksAtOnce"));
    atOnce_->setRange(1, 16);
    atOnce_->setToolTip(QStringLiteral("How many links are checked at the same time (at most "
                                       "two to one site)"));
    secondPass_ = new QCheckBox(QStringLiteral("Check bad links again"), this);
    secondPass_->setObjectName(QStringLiteral("SecondPass"));
    secondPass_->setToolTip(QStringLiteral("After the others, check each bad link once more and "
                                           "list only those that fail twice"));

    connect(moveB, &QPushButton::clicked, this,
            [this] { Act([this] { form_->MoveBClick(CheckList::Bad); }); });
    connect(moveU, &QPushButton::clicked, this,
            [this] { Act([this] { form_->MoveBClick(CheckList::Updated); }); });
    connect(abort_, &QPushButton::clicked, this,
            [this] { Act([this] { form_->AbortButtonClick(); }); });
    connect(help, &QPushButton::clicked, this,
            [this] { Act([this] { form_->HelpButtonClick(); }); });
    connect(close, &QPushButton::clicked, this, [this] { reject(); });
    connect(search_, &QPushButton::clicked, this,
            [this] { Act([this] { form_->SearchButtonClick(); }); });
    connect(upDown_, &QSpinBox::valueChanged, this, [this](int value) {
        if (!rendering_) {
            Act([this, value] { form_->UpDownClick(value); });
        }
    });
    connect(atOnce_, &QSpinBox::valueChanged, this, [this](int value) {
        if (!rendering_) {
            Act([this, value] { form_->SetLinksAtOnce(value); });
        }
    });
    connect(secondPass_, &QCheckBox::toggled, this, [this](bool on) {
        if (!rendering_) {
            Act([this, on] { form_->SetSecondPass(on); });
        }
    });

    auto* counts = new QGridLayout;
    counts->addWidget(new QLabel(QStringLiteral("Bad Links"), this), 0, 0);
    counts->addWidget(bCount_, 0, 1);
    counts->addWidget(new QLabel(QStringLiteral("Updated Links"), this), 1, 0);
    counts->addWidget(uCount_, 1, 1);
    auto* checked = new QVBoxLayout;
    checked->addWidget(gauge_);
    checked->addWidget(tCount_);
    checked->addWidget(new QLabel(QStringLiteral("Links Checked"), this), 0, Qt::AlignCenter);
    auto* waiting = new QVBoxLayout;
    waiting->addWidget(wait_);
    waiting->addWidget(new QLabel(QStringLiteral("seconds for"), this));
    waiting->addWidget(new QLabel(QStringLiteral("link to reply"), this));
    auto* limits = new QVBoxLayout;
    limits->addWidget(upDown_);
    auto* atOnceRow = new QHBoxLayout;
    atOnceRow->addWidget(new QLabel(QStringLiteral("links at once"), this));
    atOnceRow->addWidget(atOnce_);
    limits->addLayout(atOnceRow);
    limits->addWidget(secondPass_);
    auto* buttons = new QGridLayout;
    buttons->addWidget(moveB, 0, 0);
    buttons->addWidget(moveU, 1, 0);
    buttons->addWidget(abort_, 0, 1);
    buttons->addWidget(help, 1, 1);
    buttons->addWidget(close, 1, 2);
    auto* searchColumn = new QVBoxLayout;
    searchColumn->addWidget(search_);

    auto* panel = new QHBoxLayout;
    panel->addLayout(counts);
    panel->addLayout(checked);
    panel->addLayout(buttons);
    panel->addLayout(searchColumn);
    panel->addLayout(waiting);
    panel->addLayout(limits);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view1_, 1);
    layout->addLayout(panel);
    layout->addWidget(view2_, 1);
    resize(760, 520);
}

QTreeWidget* THttpAsyFormView::MakeList(const QString& name) {
    auto* list = new QTreeWidget(this);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setToolTip(QString::fromLatin1(kCheckHint.data(), kCheckHint.size()));
    QStringList titles;
    for (const Column& column : kColumns) {
        titles << QString::fromLatin1(column.title);
    }
    list->setHeaderLabels(titles);
    for (int i = 0; i < 5; ++i) {
        list->setColumnWidth(i, kColumns[i].width);
    }
    const bool bad = name == QStringLiteral("View1");
    connect(list, &QTreeWidget::itemPressed, this, [this, list, bad](QTreeWidgetItem* item) {
        // The row actions are the left button's.
        if (QApplication::mouseButtons() & (Qt::RightButton | Qt::MiddleButton)) {
            return;
        }
        const int row = list->indexOfTopLevelItem(item);
        Act([this, row, bad] {
            if (bad) {
                form_->View1MouseDown(row);
            } else {
                form_->View2MouseDown(row);
            }
        });
    });
    return list;
}

void THttpAsyFormView::Act(const std::function<void()>& handler) {
    if (form_ == nullptr) {
        return;
    }
    try {
        handler();
    } catch (const FileError& error) {
        QMessageBox::critical(this, QStringLiteral("Linkvane"), QString::fromUtf8(error.what()));
    }
    if (form_ != nullptr && form_->Closed()) {
        QDialog::reject();
        return;
    }
    Render();
}

void THttpAsyFormView::Check(THttpAsyForm& form, int backColor, int fontColor) {
    form_ = &form;
    form.SetFrontEnd([this] { Render(); }, [] { QApplication::beep(); });
    QPalette look = palette();
    look.setColor(QPalette::Window, ToQColor(backColor, look));
    look.setColor(QPalette::WindowText, ToQColor(fontColor, look));
    setPalette(look);
    setAutoFillBackground(true);
    Render();
    exec();
    form.SetFrontEnd({}, {});
    form_ = nullptr;
}

void THttpAsyFormView::Fill(QTreeWidget* list, bool bad) {
    const std::vector<CheckRow>& rows = bad ? form_->View1() : form_->View2();
    // Rows are only ever appended, except by the row and list actions.
    if (list->topLevelItemCount() > static_cast<int>(rows.size())) {
        list->clear();
    }
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const CheckRow& row = rows[i];
        if (list->topLevelItem(i)->text(3) != Q(row.btn) ||
            list->topLevelItem(i)->text(2) != Q(row.link)) {
            list->clear();
            break;
        }
    }
    for (auto i = static_cast<std::size_t>(list->topLevelItemCount()); i < rows.size(); ++i) {
        const CheckRow& row = rows[i];
        list->addTopLevelItem(new QTreeWidgetItem(
            {Q(row.page), Q(row.title), Q(row.link), Q(row.btn), Q(row.response)}));
    }
}

void THttpAsyFormView::Render() {
    if (form_ == nullptr) {
        return;
    }
    rendering_ = true;
    setWindowTitle(Q(form_->Caption()));
    Fill(view1_, true);
    Fill(view2_, false);
    bCount_->setText(Q(form_->BCountL()));
    uCount_->setText(Q(form_->UCountL()));
    tCount_->setText(Q(form_->TCountL()));
    gauge_->setMaximum(std::max(form_->GaugeMax(), 1));
    gauge_->setValue(std::min(form_->GaugeProgress(), std::max(form_->GaugeMax(), 1)));
    wait_->setText(Q(form_->WaitLabel()));
    upDown_->setValue(form_->UpDownPosition());
    atOnce_->setValue(form_->Options().linksAtOnce);
    secondPass_->setChecked(form_->Options().secondPass);
    rendering_ = false;
}

void THttpAsyFormView::reject() {
    if (form_ != nullptr) {
        form_->CloseBtnClick();
    }
    QDialog::reject();
}

} // namespace lv
