#include "gui/ToolIcons.h"

#include <QIconEngine>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <algorithm>
#include <functional>
#include <map>

namespace lv {
namespace {

// Every picture is drawn on a 16 x 16 grid.
using Drawing = std::function<void(QPainter&)>;

const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kBlue(0x2A, 0x6C, 0xC8);
const QColor kGreen(0x2E, 0x9A, 0x3C);
const QColor kRed(0xC8, 0x32, 0x2A);
const QColor kYellow(0xE8, 0xB8, 0x30);

QPen Pen(const QColor& colour, qreal width = 1.0) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void Page(QPainter& p, const QRectF& r) {
    p.setPen(Pen(kInk));
    p.setBrush(kPaper);
    p.drawRect(r);
}

void Window(QPainter& p, const QRectF& r) {
    Page(p, r);
    p.fillRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 0.5, 2.5), kBlue);
}

void Globe(QPainter& p, const QRectF& r) {
    p.setPen(Pen(kBlue));
    p.setBrush(QColor(0xD8, 0xE8, 0xFA));
    p.drawEllipse(r);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(r.center().x() - r.width() / 4, r.top(), r.width() / 2, r.height()));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

void Magnifier(QPainter& p, const QPointF& centre, qreal radius) {
    p.setPen(Pen(kInk, 2.0));
    p.drawLine(centre + QPointF(radius * 0.7, radius * 0.7),
               centre + QPointF(radius * 1.9, radius * 1.9));
    p.setPen(Pen(kInk, 1.2));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF, 0xC0));
    p.drawEllipse(centre, radius, radius);
}

void Plus(QPainter& p, const QPointF& c, const QColor& colour) {
    p.setPen(Pen(colour, 2.0));
    p.drawLine(c + QPointF(-3, 0), c + QPointF(3, 0));
    p.drawLine(c + QPointF(0, -3), c + QPointF(0, 3));
}

void Arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& colour) {
    p.setPen(Pen(colour, 1.6));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1.0, QLineF(from, to).length());
    const QPointF n(-d.y(), d.x());
    p.drawLine(to, to - d * 3 + n * 2.5);
    p.drawLine(to, to - d * 3 - n * 2.5);
}

const std::map<QString, Drawing>& Drawings() {
    static const std::map<QString, Drawing> drawings = {
        {QStringLiteral("OpenButton1"),
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(kYellow);
             p.drawPolygon(
                 QPolygonF({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {13.5, 5}, {13.5, 13.5}, {1.5, 13.5}}));
             p.setBrush(QColor(0xF6, 0xD8, 0x70));
             p.drawPolygon(QPolygonF({{1.5, 13.5}, {4, 7.5}, {15, 7.5}, {13.5, 13.5}}));
         }},
        {QStringLiteral("BrowserButton1"), [](QPainter& p) { Globe(p, QRectF(1.5, 1.5, 13, 13)); }},
        {QStringLiteral("SingleButton"), [](QPainter& p) { Window(p, QRectF(1.5, 2.5, 13, 11)); }},
        {QStringLiteral("MultButton"),
         [](QPainter& p) {
             Window(p, QRectF(4.5, 1.5, 10, 8));
             Window(p, QRectF(1.5, 6.5, 10, 8));
         }},
        {QStringLiteral("WebIn"),
         [](QPainter& p) {
             Globe(p, QRectF(0.5, 0.5, 9, 9));
             Page(p, QRectF(8.5, 7.5, 6, 7));
             Arrow(p, QPointF(5, 10), QPointF(8, 13), kGreen);
         }},
        {QStringLiteral("AddBookmark"),
         [](QPainter& p) {
             p.setPen(Pen(kRed.darker(130)));
             p.setBrush(kRed);
             p.drawPolygon(QPolygonF({{3.5, 1.5}, {10.5, 1.5}, {10.5, 14}, {7, 10.5}, {3.5, 14}}));
             Plus(p, QPointF(12, 12), kGreen);
         }},
        {QStringLiteral("CheckBtn"),
         [](QPainter& p) {
             p.setPen(Pen(kGreen, 2.4));
             p.drawPolyline(QPolygonF({{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}}));
         }},
        {QStringLiteral("SearchNetButton"),
         [](QPainter& p) {
             Globe(p, QRectF(0.5, 0.5, 11, 11));
             Magnifier(p, QPointF(9, 9), 3);
         }},
        {QStringLiteral("SearchLinkvaneButton"),
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(QColor(0xE0, 0xE0, 0xE0));
             for (int row = 0; row < 3; ++row) {
                 p.drawRect(QRectF(1.5, 1.5 + row * 4, 9, 3));
             }
             Magnifier(p, QPointF(9.5, 9.5), 3);
         }},
        {QStringLiteral("Print"),
         [](QPainter& p) {
             Page(p, QRectF(4.5, 1.5, 7, 5));
             p.setBrush(QColor(0xA0, 0xA0, 0xA0));
             p.drawRect(QRectF(1.5, 6.5, 13, 6));
             Page(p, QRectF(4.5, 10.5, 7, 4));
         }},
        {QStringLiteral("HTML"),
         [](QPainter& p) {
             p.setPen(Pen(kBlue, 1.6));
             p.drawPolyline(QPolygonF({{5, 4}, {1.5, 8}, {5, 12}}));
             p.drawPolyline(QPolygonF({{11, 4}, {14.5, 8}, {11, 12}}));
             p.setPen(Pen(kInk, 1.4));
             p.drawLine(QPointF(9.5, 3), QPointF(6.5, 13));
         }},
        {QStringLiteral("Email1"),
         [](QPainter& p) {
             Page(p, QRectF(1.5, 3.5, 13, 9));
             p.drawPolyline(QPolygonF({{1.5, 3.5}, {8, 9}, {14.5, 3.5}}));
         }},
        {QStringLiteral("AlphaButton"),
         [](QPainter& p) {
             p.setPen(Pen(kInk, 1.2));
             p.drawPolyline(QPolygonF({{1, 7.5}, {3, 1.5}, {5, 7.5}}));
             p.drawLine(QPointF(1.8, 5.2), QPointF(4.2, 5.2));
             p.drawPolyline(QPolygonF({{1.5, 9.5}, {5, 9.5}, {1.5, 14.5}, {5, 14.5}}));
             Arrow(p, QPointF(11, 2), QPointF(11, 14), kBlue);
         }},
        {QStringLiteral("AddPageBtn"),
         [](QPainter& p) {
             Page(p, QRectF(1.5, 1.5, 9, 12));
             Plus(p, QPointF(11.5, 11.5), kGreen);
         }},
        {QStringLiteral("DeletePageBtn"),
         [](QPainter& p) {
             Page(p, QRectF(1.5, 1.5, 9, 12));
             p.setPen(Pen(kRed, 2.0));
             p.drawLine(QPointF(9, 9), QPointF(14, 14));
             p.drawLine(QPointF(14, 9), QPointF(9, 14));
         }},
        {QStringLiteral("GoPageBtn"),
         [](QPainter& p) {
             Page(p, QRectF(6.5, 1.5, 8, 12));
             Arrow(p, QPointF(1, 8), QPointF(10, 8), kBlue);
         }},
        {QStringLiteral("UserButton1"),
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(QColor(0xF0, 0xC8, 0xA0));
             p.drawEllipse(QRectF(5, 1.5, 6, 6));
             p.setBrush(kBlue);
             QPainterPath body;
             body.moveTo(2, 15);
             body.cubicTo(2, 8, 14, 8, 14, 15);
             body.closeSubpath();
             p.drawPath(body);
         }},
        {QStringLiteral("DiskButton"),
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(QColor(0x40, 0x48, 0x60));
             p.drawPolygon(
                 QPolygonF({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}));
             p.setBrush(QColor(0xC8, 0xC8, 0xC8));
             p.drawRect(QRectF(4.5, 1.5, 7, 4));
             p.setBrush(kPaper);
             p.drawRect(QRectF(3.5, 8.5, 9, 6));
         }},
        {QStringLiteral("HelpButton1"),
         [](QPainter& p) {
             p.setPen(Pen(kBlue.darker(120)));
             p.setBrush(kBlue);
             p.drawEllipse(QRectF(1, 1, 14, 14));
             p.setPen(Pen(kPaper, 1.8));
             QPainterPath hook;
             hook.moveTo(5.5, 6);
             hook.cubicTo(5.5, 2.5, 10.5, 2.5, 10.5, 6);
             hook.cubicTo(10.5, 8, 8, 8, 8, 10);
             p.setBrush(Qt::NoBrush);
             p.drawPath(hook);
             p.drawPoint(QPointF(8, 12.5));
         }},
    };
    return drawings;
}

class DrawnIcon : public QIconEngine {
public:
    explicit DrawnIcon(Drawing drawing) : drawing_(std::move(drawing)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State /*state*/) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const qreal side = std::min(rect.width(), rect.height());
        painter->translate(rect.x() + (rect.width() - side) / 2.0,
                           rect.y() + (rect.height() - side) / 2.0);
        painter->scale(side / 16.0, side / 16.0);
        if (mode == QIcon::Disabled) {
            painter->setOpacity(0.4);
        }
        drawing_(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pixmap(size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new DrawnIcon(drawing_); }

private:
    Drawing drawing_;
};

} // namespace

QIcon ToolIcon(const QString& buttonName) {
    const auto& drawings = Drawings();
    const auto found = drawings.find(buttonName);
    return found == drawings.end() ? QIcon() : QIcon(new DrawnIcon(found->second));
}

} // namespace lv
