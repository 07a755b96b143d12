#include "gui/TPFormView.h"

#include "gui/Colors.h"
#include "gui/QtText.h"
#include "mainwindow/TPForm.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace lv {

// One TEnhancedGauge: a horizontal bar without border, its text in white.
class GaugeBar : public QWidget {
public:
    GaugeBar(const TEnhancedGauge& gauge, QWidget* parent) : QWidget(parent), gauge_(gauge) {
        setObjectName(Q(gauge.Name));
        setToolTip(Q(gauge.Hint));
        setCursor(Qt::PointingHandCursor);
        setGeometry(gauge.Left, gauge.Top, gauge.Width, gauge.Height);
    }
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QPalette& look = palette();
        p.fillRect(rect(), ToQColor(gauge_.BackColor, look));
        const int filled = width() * gauge_.Percent() / 100;
        p.fillRect(QRect(0, 0, filled, height()), ToQColor(gauge_.ForeColor, look));
        p.setPen(Qt::white);
        // White text must stay readable where the bar is empty: a dark shadow under it.
        const QString text = Q(gauge_.Text());
        p.setPen(QColor(0, 0, 0, 140));
        p.drawText(rect().translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, text);
        p.setPen(Qt::white);
        p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            onClick) {
            onClick();
        }
    }

private:
    TEnhancedGauge gauge_;
};

TPFormView::TPFormView(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PForm"));
    setWindowTitle(QStringLiteral("Access Speed"));
    setFixedWidth(415);
    hostEdit_ = new QComboBox(this);
    hostEdit_->setObjectName(QStringLiteral("HostEdit"));
    hostEdit_->setGeometry(5, 5, 200, 22);
    hostEdit_->setEnabled(false);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("Label1"));
    label_->setGeometry(5, 30, 400, 18);
    speedLabel_ = new QLabel(QStringLiteral("Smaller % is faster Site"), this);
    speedLabel_->setObjectName(QStringLiteral("Label2"));
    speedLabel_->setGeometry(5, 2, 400, 16);
    speedLabel_->hide();
}

void TPFormView::Ping(TPForm& form, int color, int fontColor) {
    form_ = &form;
    QPalette look = palette();
    look.setColor(QPalette::Window, ToQColor(color, look));
    look.setColor(QPalette::WindowText, ToQColor(fontColor, look));
    setPalette(look);
    setFixedHeight(std::max(90, static_cast<int>(form.HostEditItems.size()) * 20 + 50));
    for (GaugeBar* bar : bars_) {
        delete bar;
    }
    bars_.clear();
    hostEdit_->show();
    label_->show();
    speedLabel_->hide();
    form.onProgress = [this] { ShowProgress(); };
    // The pings start once the dialog is on screen, as its activation started them.
    QTimer::singleShot(0, this, [this, color, fontColor] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        form_->FormActivate(color, fontColor);
        QApplication::restoreOverrideCursor();
        ShowGauges();
    });
    exec();
    form.onProgress = nullptr;
    form_ = nullptr;
}

void TPFormView::ShowProgress() {
    hostEdit_->clear();
    hostEdit_->addItem(Q(form_->HostEdit()));
    label_->setText(Q(form_->Label()));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TPFormView::ShowGauges() {
    if (form_ == nullptr) {
        return;
    }
    hostEdit_->hide();
    label_->setVisible(form_->LabelVisible());
    speedLabel_->show();
    if (form_->Height() > 0) {
        setFixedHeight(form_->Height());
    }
    for (const TEnhancedGauge& gauge : form_->Gauges()) {
        auto* bar = new GaugeBar(gauge, this);
        const std::string name = gauge.Name;
        bar->onClick = [this, name] {
            if (form_ != nullptr) {
                form_->Launch(name);
            }
            accept();
        };
        bar->show();
        bars_.push_back(bar);
    }
}

} // namespace lv
