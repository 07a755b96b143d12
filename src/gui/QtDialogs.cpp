#include "gui/QtDialogs.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "gui/TNavPageView.h"
#include "mainwindow/TUserDlg.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace lv {
namespace {

class QtTextMetrics : public TextMetrics {
public:
    explicit QtTextMetrics(const QFont& font) : metrics_(font) {}
    int TextWidth(const std::string& text) const override {
        return metrics_.horizontalAdvance(Q(text));
    }
    // The distance from one line to the next, as the label lays its lines out: the ink box of
    // a single letter is shorter, and the last lines of a message fell off the window.
    int LineHeight() const override { return metrics_.lineSpacing(); }
    int WrappedHeight(const std::vector<std::string>& lines, int width) const override {
        QStringList all;
        for (const auto& line : lines) {
            all << Q(line);
        }
        return metrics_.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, all.join('\n'))
            .height();
    }

private:
    QFontMetrics metrics_;
};

// The password prompt: Enter or the button accept, Escape empties the edit and closes.
class PasswordDialog : public QDialog {
public:
    PasswordDialog(QWidget* parent, bool masked) : QDialog(parent) {
        setWindowTitle(QStringLiteral("Enter Password"));
        edit_ = new QLineEdit(this);
        edit_->setObjectName(QStringLiteral("Password"));
        edit_->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
        auto* save = new QPushButton(QStringLiteral("Save Password"), this);
        save->setDefault(true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(edit_);
        layout->addWidget(save);
        connect(save, &QPushButton::clicked, this, &QDialog::accept);
        edit_->setFocus();
    }
    QString Text() const { return edit_->text(); }

protected:
    void reject() override {
        edit_->clear();
        QDialog::reject();
    }

private:
    QLineEdit* edit_;
};

} // namespace

int QtDialogs::ScreenWidth() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 1024;
}

void QtDialogs::ApplyLook(QWidget* dialog) const {
    if (hasLook_) {
        dialog->setPalette(palette_);
        dialog->setAutoFillBackground(true);
    }
}

MsgResult QtDialogs::Message(const MessageRequest& request) {
    QMessageBox box(parent_);
    box.setWindowTitle(request.caption.empty() ? QStringLiteral("Linkvane") : Q(request.caption));
    box.setText(QLines(request.text));
    switch (request.kind) {
    case MsgKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QMessageBox::StandardButtons buttons;
    switch (request.buttons) {
    case MsgButtons::Ok:
        buttons = QMessageBox::Ok;
        break;
    case MsgButtons::OkCancel:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MsgButtons::YesNo:
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case MsgButtons::YesNoCancel:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case MsgButtons::YesNoHelp:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Help;
        break;
    }
    box.setStandardButtons(buttons);
    ApplyLook(&box);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Help:
        return MsgResult::Help;
    default:
        return MsgResult::Cancel;
    }
}

int QtDialogs::UserDlg(const UserDlgRequest& request) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(Q(request.title));
    ApplyLook(&dialog);
    const UserDlgLayout layout =
        LayoutUserDlg(request, QtTextMetrics(dialog.font()), ScreenWidth());

    if (layout.hasIcon) {
        QStyle::StandardPixmap which = QStyle::SP_MessageBoxInformation;
        if (request.icon == UserDlgIcon::Warning) {
            which = QStyle::SP_MessageBoxWarning;
        } else if (request.icon == UserDlgIcon::Error) {
            which = QStyle::SP_MessageBoxCritical;
        } else if (request.icon == UserDlgIcon::Confirmation) {
            which = QStyle::SP_MessageBoxQuestion;
        }
        auto* icon = new QLabel(&dialog);
        icon->setPixmap(dialog.style()->standardIcon(which).pixmap(kUserDlgIconSide));
        icon->setGeometry(layout.icon.left, layout.icon.top, layout.icon.width, layout.icon.height);
    }
    QStringList lines;
    for (const auto& line : request.message) {
        lines << Q(line);
    }
    auto* label = new QLabel(lines.join('\n'), &dialog);
    label->setObjectName(QStringLiteral("Message"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(layout.wrap);
    label->setGeometry(layout.label.left, layout.label.top, layout.label.width + 2,
                       layout.label.height);

    int result = -1;
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        auto* button = new QPushButton(Q(layout.captions[i]), &dialog);
        button->setObjectName(QStringLiteral("btn%1").arg(i));
        const DlgRect& r = layout.buttons[i];
        button->setGeometry(r.left, r.top, r.width, r.height);
        const int index = static_cast<int>(i);
        if (index == layout.defaultButton) {
            button->setDefault(true);
            button->setFocus();
        } else {
            button->setAutoDefault(false);
        }
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &result, index] {
            result = index;
            dialog.accept();
        });
    }
    dialog.setFixedSize(layout.width, layout.height);
    if (layout.cancelButton < 0) {
        dialog.setWindowFlags((dialog.windowFlags() | Qt::CustomizeWindowHint) &
                              ~Qt::WindowCloseButtonHint);
    }
    // Closing the window (Escape, the close box, the window manager) answers the cancel button,
    // or no choice: never the answer to an earlier question.
    if (dialog.exec() != QDialog::Accepted) {
        return layout.cancelButton;
    }
    return result;
}

PasswordResult QtDialogs::Password(const PasswordRequest& request) {
    PasswordDialog dialog(parent_, request.masked);
    ApplyLook(&dialog);
    dialog.exec();
    return {FromQ(dialog.Text())};
}

FontResult QtDialogs::Font(const FontRequest& request) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(QStringLiteral("Font"));
    auto* family = new QFontComboBox(&dialog);
    family->setCurrentFont(QFont(Q(request.name)));
    auto* size = new QSpinBox(&dialog);
    size->setRange(4, 72);
    size->setValue(request.size);
    QColor colour = ToQColor(request.color, dialog.palette());
    auto* colourButton = new QPushButton(QStringLiteral("&Color..."), &dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addWidget(family);
    row->addWidget(size);
    row->addWidget(colourButton);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(row);
    layout->addLayout(buttons);
    QObject::connect(colourButton, &QPushButton::clicked, &dialog, [&] {
        QColor chosen = QColorDialog::getColor(colour, &dialog);
        if (chosen.isValid()) {
            colour = chosen;
        }
    });
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    FontResult result;
    if (dialog.exec() == QDialog::Accepted) {
        result.accepted = true;
        result.name = FromQ(family->currentFont().family());
        result.size = size->value();
        result.color = FromQColor(colour);
    }
    return result;
}

namespace {

// The count box has no button: Enter closes it as Escape does.
class CountBox : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }
};

} // namespace

void QtDialogs::Count(const CountRequest& request) {
    CountBox dialog(parent_);
    dialog.setWindowTitle(Q(request.caption));
    dialog.setFixedSize(201, 72);
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, ToQColor(request.backColor, palette));
    palette.setColor(QPalette::WindowText, ToQColor(request.fontColor, palette));
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);
    auto* label = new QLabel(Q(request.label), &dialog);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(0, 0, 201, 72);
    dialog.exec();
}

namespace {

// "Name|pattern|Name|pattern" as Qt's "Name (pattern);;..."; "*.*" also matches names without a
// dot, as it did where the filters were first written.
QString QtFilters(const std::string& filter) {
    const QStringList parts = QString::fromUtf8(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace

OpenFileResult QtDialogs::OpenFile(const OpenFileRequest& request) {
    const QString path = QFileDialog::getOpenFileName(parent_, Q(request.title),
                                                      QFile::decodeName(request.directory.c_str()),
                                                      QtFilters(request.filter));
    // Paths go back as the file system spells them.
    return {!path.isEmpty(), QFile::encodeName(path).toStdString()};
}

OpenFileResult QtDialogs::SelectFolder(const FolderRequest& request) {
    QFileDialog dialog(parent_, Q(request.title), QFile::decodeName(request.directory.c_str()));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::ReadOnly, !request.allowCreate);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return {true, QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString()};
}

OpenFileResult QtDialogs::SaveFile(const SaveFileRequest& request) {
    QFileDialog dialog(parent_, Q(request.title), QFile::decodeName(request.directory.c_str()),
                       QtFilters(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromUtf8(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return {true, QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString()};
}

int QtDialogs::NavPage(const NavPageRequest& request) {
    TNavPageView view(request, parent_);
    return view.Choose();
}

ColorResult QtDialogs::Color(const ColorRequest& request) {
    for (int i = 0; i < 16; ++i) {
        QColorDialog::setCustomColor(
            i, ToQColor(request.customColors[static_cast<std::size_t>(i)], QPalette()));
    }
    const QColor chosen = QColorDialog::getColor(ToQColor(request.color, QPalette()), parent_);
    ColorResult result;
    result.accepted = chosen.isValid();
    result.color = result.accepted ? FromQColor(chosen) : request.color;
    for (int i = 0; i < 16; ++i) {
        result.customColors[static_cast<std::size_t>(i)] = FromQColor(QColorDialog::customColor(i));
    }
    return result;
}

void QtDialogs::Error(const std::string& text) {
    QMessageBox::critical(parent_, QStringLiteral("Linkvane"), QLines(text));
}

} // namespace lv
