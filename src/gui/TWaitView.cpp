#include "gui/TWaitView.h"

#include "web/TWait.h"

#include <QApplication>
#include <QEvent>

namespace lv {

TWaitView::TWaitView(TWait& wait, QWidget* parent) : QLabel(parent), wait_(wait) {
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    wait_.OnChange = [this] { Refresh(); };
    Refresh();
}

TWaitView::~TWaitView() {
    wait_.OnChange = nullptr;
    if (filtering_) {
        qApp->removeEventFilter(this);
    }
}

void TWaitView::Refresh() {
    setText(QString::fromStdString(wait_.Text()));
    setVisible(wait_.Visible());
    if (wait_.Running() != filtering_) {
        filtering_ = wait_.Running();
        if (filtering_) {
            qApp->installEventFilter(this);
        } else {
            qApp->removeEventFilter(this);
        }
    }
}

bool TWaitView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
        QApplication::beep();
        return true;
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
        return true; // the matching press never arrived
    default:
        return QLabel::eventFilter(watched, event);
    }
}

} // namespace lv
