#include "gui/TUserSetupView.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "tools/UserFile.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lv {

TUserSetupView::TUserSetupView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("UserSetup"));
    setWindowTitle(QString::fromLatin1(TUserSetup::kCaption));
    auto* grid = new QGridLayout(this);
    // Two columns of eight, each box under its label.
    const int perColumn = static_cast<int>((kUserFields.size() + 1) / 2);
    for (std::size_t i = 0; i < kUserFields.size(); ++i) {
        const int column = static_cast<int>(i) / perColumn;
        const int row = (static_cast<int>(i) % perColumn) * 2;
        auto* label = new QLabel(Q(std::string(kUserFields[i].label)), this);
        auto* box = new QLineEdit(this);
        box->setObjectName(Q(std::string(kUserFields[i].key)));
        label->setBuddy(box);
        grid->addWidget(label, row, column);
        grid->addWidget(box, row + 1, column);
        boxes_.push_back(box);
    }
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("SaveBtn"));
    save->setDefault(true);
    grid->addWidget(save, perColumn * 2, 0, 1, 2, Qt::AlignHCenter);
    connect(save, &QPushButton::clicked, this, [this] { Save(); });
    resize(sizeHint().expandedTo(QSize(329, 386)));
}

void TUserSetupView::Edit(TUserSetup& setup) {
    setup_ = &setup;
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i]->setText(Q(setup.values.at(i)));
    }
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(setup.backColor, palette()));
    colours.setColor(QPalette::WindowText, ToQColor(setup.fontColor, palette()));
    setPalette(colours);
    setAutoFillBackground(true);
    boxes_.front()->setFocus();
    exec();
    if (!setup.Closed()) {
        setup.CloseBox();
    }
    setup_ = nullptr;
}

void TUserSetupView::Save() {
    if (setup_ != nullptr) {
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            setup_->values.at(i) = FromQ(boxes_[i]->text());
        }
        setup_->SaveClick();
    }
    accept();
}

} // namespace lv
