#include "gui/WebControls.h"

#include "gui/MenuLookup.h"
#include "gui/QtText.h"
#include "gui/ToolBar.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace lv {
namespace {

constexpr int kLampSide = 14;

QPixmap LampPicture(ConnectionLamp::Image image, qreal scale) {
    QColor colour(0x40, 0x40, 0x40); // off: a dark lamp
    if (image == ConnectionLamp::Image::LedOn) {
        colour = QColor(0x00, 0xD0, 0x00);
    } else if (image == ConnectionLamp::Image::LedYellow) {
        colour = QColor(0xF0, 0xE0, 0x00);
    }
    QPixmap picture(QSize(kLampSide, kLampSide) * scale);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient light(QPointF(5, 5), 7);
    light.setColorAt(0, colour.lighter(170));
    light.setColorAt(1, colour);
    p.setBrush(light);
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    p.drawEllipse(QRectF(1.5, 1.5, kLampSide - 3, kLampSide - 3));
    return picture;
}

} // namespace

WebControls::WebControls(QMainWindow& window, TForm1& form, QWidget* toolBar, DispatchFn dispatch)
    : QObject(&window), window_(window), form_(form), dispatch_(std::move(dispatch)) {
    QToolButton* webIn = NewToolButton(toolBar, QStringLiteral("WebIn"),
                                       QStringLiteral("Import links from current Web Page"));
    connect(webIn, &QToolButton::clicked, this,
            [this] { dispatch_([this] { form_.MWSImportClick(); }); });

    QMenu* file = MenuOf(window_, QStringLiteral("&File"));
    // "Import Bookmarks" holds the imports of other programs' bookmarks too; whoever comes
    // first makes it, before the diskette copy.
    QMenu* imports = file->findChild<QMenu*>(QStringLiteral("MImport"));
    if (imports == nullptr) {
        imports = new QMenu(QStringLiteral("&Import Bookmarks"), file);
        imports->setObjectName(QStringLiteral("MImport"));
        QAction* before = nullptr;
        for (QAction* action : file->actions()) {
            if (action->menu() != nullptr &&
                action->menu()->objectName() == QStringLiteral("MCopyProgram")) {
                before = action;
                break;
            }
        }
        if (before == nullptr) {
            before = FindAction(file, QStringLiteral("MProgPass"));
        }
        if (before == nullptr) {
            before = FindAction(file, QStringLiteral("MExit1"));
        }
        file->insertMenu(before, imports);
    }
    auto add = [this, imports](const QString& name, const QString& text,
                               std::function<void()> run) {
        auto* action = new QAction(text, imports);
        action->setObjectName(name);
        imports->addAction(action);
        connect(action, &QAction::triggered, this, [this, run] { dispatch_(run); });
    };
    add(QStringLiteral("MWSImport"), QStringLiteral("Import from &Web Page"),
        [this] { form_.MWSImportClick(); });
    add(QStringLiteral("MCBImport"), QStringLiteral("Import from &Clipboard"),
        [this] { form_.MCBImportClick(); });

    // The lamp sits in the menu bar's corner, clear of the tool bar's own layout.
    lamp_ = new QLabel;
    lamp_->setObjectName(QStringLiteral("DialUp"));
    lamp_->setFixedSize(kLampSide + 6, kLampSide);
    lamp_->setAlignment(Qt::AlignCenter);
    window_.menuBar()->setCornerWidget(lamp_, Qt::TopRightCorner);
}

void WebControls::Render() {
    const ConnectionLamp& lamp = form_.State().DialUp;
    if (static_cast<int>(lamp.image) != shownLamp_) {
        shownLamp_ = static_cast<int>(lamp.image);
        lamp_->setPixmap(LampPicture(lamp.image, lamp_->devicePixelRatioF()));
    }
    lamp_->setToolTip(Q(lamp.hint));
}

} // namespace lv
