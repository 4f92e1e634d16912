#include "app/frame/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <functional>

#include "app/frame/frame_commands.h"

namespace kvd {
namespace {

using namespace frame_command;

const QColor kOutline(64, 64, 64);
const QColor kCurveBlue(0, 0, 160);
const QColor kCurveRed(200, 0, 0);

QIcon draw_icon(int size, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

void page(QPainter& p) {
    p.setPen(kOutline);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}}));
    p.drawPolyline(QPolygonF({{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}}));
}

// A half-turn arrow: pointing left (undo) or right (redo).
void turn_arrow(QPainter& p, bool left) {
    QPainterPath path(QPointF(left ? 13 : 3, 13));
    path.cubicTo(QPointF(left ? 14 : 2, 5), QPointF(left ? 7 : 9, 3.5), QPointF(left ? 4 : 12, 6));
    p.setPen(QPen(kCurveBlue, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kCurveBlue);
    const double tip = left ? 2 : 14;
    const double back = left ? 7.5 : 8.5;
    p.drawPolygon(QPolygonF({{tip, 7.5}, {back, 2.5}, {back, 9.5}}));
}

void grid(QPainter& p) {
    p.setPen(kOutline);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 1.5, 10, 10));
    for (double v : {4.83, 8.17}) {
        p.drawLine(QPointF(1.5, v), QPointF(11.5, v));
        p.drawLine(QPointF(v, 1.5), QPointF(v, 11.5));
    }
}

void curve(QPainter& p, QColor colour, double shift = 0) {
    QPainterPath path(QPointF(2, 3 + shift));
    path.cubicTo(QPointF(7, 4 + shift), QPointF(10, 6 + shift), QPointF(13, 12 + shift));
    p.setPen(QPen(colour, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void arrow(QPainter& p, QPointF from, QPointF to, QColor colour) {
    p.setPen(QPen(colour, 1.3));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1.0, QLineF(from, to).length());
    const QPointF n(-d.y(), d.x());
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({to, to - d * 3 + n * 2, to - d * 3 - n * 2}));
}

void draw_command(int command, QPainter& p) {
    switch (command) {
        case kNew:
            page(p);
            break;
        case kOpen:
            p.setPen(kOutline);
            p.setBrush(QColor(240, 200, 80));
            p.drawPolygon(
                QPolygonF({{1.5, 3.5}, {6.5, 3.5}, {7.5, 5.5}, {14.5, 5.5}, {14.5, 13.5}, {1.5, 13.5}}));
            p.setBrush(QColor(250, 225, 130));
            p.drawPolygon(QPolygonF({{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}}));
            break;
        case kSave:
            p.setPen(kOutline);
            p.setBrush(QColor(40, 80, 170));
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 1.5, 7, 5));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(4.5, 9.5, 7, 5));
            break;
        case kUndo:
        case kRedo:
            turn_arrow(p, command == kUndo);
            break;
        case kPrintPreview:
            page(p);
            p.setPen(QPen(kOutline, 1.5));
            p.setBrush(QColor(200, 230, 255));
            p.drawEllipse(QPointF(8, 8), 3.2, 3.2);
            p.drawLine(QPointF(10.3, 10.3), QPointF(14, 14));
            break;
        case kPrint:
            p.setPen(kOutline);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 1.5, 7, 5));
            p.setBrush(QColor(180, 180, 180));
            p.drawRect(QRectF(1.5, 6.5, 13, 6));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 10.5, 7, 4));
            break;
        case kAddUnloading:
            curve(p, kCurveBlue, -1);
            p.setPen(QPen(kCurveRed, 1.5));
            p.drawLine(QPointF(13, 11), QPointF(8, 13));
            p.setPen(QPen(QColor(0, 140, 0), 1.8));
            p.drawLine(QPointF(2.5, 11), QPointF(2.5, 15));
            p.drawLine(QPointF(0.5, 13), QPointF(4.5, 13));
            break;
        case kInsertReading:
            grid(p);
            p.setPen(QPen(QColor(0, 140, 0), 2));
            p.drawLine(QPointF(12, 9), QPointF(12, 15));
            p.drawLine(QPointF(9, 12), QPointF(15, 12));
            break;
        case kDeleteReading:
            grid(p);
            p.setPen(QPen(kCurveRed, 2));
            p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
            p.drawLine(QPointF(14.5, 9.5), QPointF(9.5, 14.5));
            break;
        case kExportImage:
            p.setPen(kOutline);
            p.setBrush(QColor(210, 235, 255));
            p.drawRect(QRectF(1.5, 3.5, 11, 10));
            p.setBrush(QColor(90, 160, 90));
            p.drawPolygon(QPolygonF({{1.5, 13.5}, {5.5, 8}, {8.5, 11}, {12.5, 13.5}}));
            arrow(p, QPointF(10, 6), QPointF(15, 1.5), kCurveBlue);
            break;
        case kSetAxes:
            arrow(p, QPointF(3, 13), QPointF(15, 13), kCurveRed);
            arrow(p, QPointF(3, 13), QPointF(3, 1), kCurveRed);
            p.setPen(QPen(kOutline, 1));
            for (double x : {6.0, 9.0, 12.0}) p.drawLine(QPointF(x, 13), QPointF(x, 11));
            break;
        case kShift:
            curve(p, kCurveBlue, -1);
            arrow(p, QPointF(5, 8), QPointF(5, 15), kCurveRed);
            break;
        case kInvert:
            p.setPen(QPen(kOutline, 1, Qt::DotLine));
            p.drawLine(QPointF(1, 8), QPointF(15, 8));
            p.setPen(QPen(kCurveBlue, 1.5));
            p.drawPolyline(QPolygonF({{2, 7}, {7, 5}, {14, 1.5}}));
            p.setPen(QPen(kCurveRed, 1.5));
            p.drawPolyline(QPolygonF({{2, 9}, {7, 11}, {14, 14.5}}));
            break;
        case kFitWindow:
            p.setPen(kOutline);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 4.5, 7, 7));
            arrow(p, QPointF(4, 4), QPointF(1, 1), kCurveBlue);
            arrow(p, QPointF(12, 4), QPointF(15, 1), kCurveBlue);
            arrow(p, QPointF(4, 12), QPointF(1, 15), kCurveBlue);
            arrow(p, QPointF(12, 12), QPointF(15, 15), kCurveBlue);
            break;
        default:
            break;
    }
}

bool has_picture(int command) {
    switch (command) {
        case kNew:
        case kOpen:
        case kSave:
        case kUndo:
        case kRedo:
        case kPrintPreview:
        case kPrint:
        case kAddUnloading:
        case kInsertReading:
        case kDeleteReading:
        case kExportImage:
        case kSetAxes:
        case kShift:
        case kInvert:
        case kFitWindow:
            return true;
        default:
            return false;
    }
}

}  // namespace

QIcon toolbar_icon(int command) {
    if (!has_picture(command)) return {};
    return draw_icon(16, [command](QPainter& p) { draw_command(command, p); });
}

QIcon application_icon() {
    return draw_icon(32, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 110, 70));
        p.drawRect(QRectF(4, 4, 6, 26));
        p.setPen(QPen(kCurveRed, 1.5));
        p.drawLine(QPointF(13, 4), QPointF(30, 4));
        p.drawLine(QPointF(13, 4), QPointF(13, 30));
        QPainterPath path(QPointF(13, 6));
        path.cubicTo(QPointF(22, 8), QPointF(26, 14), QPointF(29, 27));
        p.setPen(QPen(kCurveBlue, 2.5));
        p.drawPath(path);
    });
}

}  // namespace kvd
