#include "app/tools/file_preview_wnd.h"

#include <QPainter>
#include <QPainterPath>

namespace kvd {
namespace {

constexpr int kInfoFontPixels = 14;
constexpr int kArrowHead = 5;
constexpr int kPointRadius = 2;

// Lines one row apart, each vertically centred in its row and drawn whole
// even where it runs past the area.
void draw_lines(QPainter& painter, const QString& text, int left) {
    const int row = painter.fontMetrics().height() + 2;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        painter.drawText(QRect(left, i * row, 10000, row),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
                         lines[i]);
    }
}

void draw_arrow(QPainter& painter, QPoint from, QPoint to) {
    painter.drawLine(from, to);
    const int dx = to.x() == from.x() ? 0 : (to.x() > from.x() ? 1 : -1);
    const int dy = to.y() == from.y() ? 0 : (to.y() > from.y() ? 1 : -1);
    // Two strokes back from the tip, across the axis.
    const QPoint back(to.x() - dx * kArrowHead, to.y() - dy * kArrowHead);
    const QPoint across(dy * kArrowHead, dx * kArrowHead);
    painter.drawLine(to, back + across);
    painter.drawLine(to, back - across);
}

QFont info_font() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(kInfoFontPixels);
    return font;
}

}  // namespace

CFileInfoWnd::CFileInfoWnd(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("file_info"));
    setMinimumSize(270, 190);
    setFont(info_font());
}

void CFileInfoWnd::set_text(const QString& text) {
    text_ = text;
    update();
}

void CFileInfoWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    if (!text_.isEmpty()) draw_lines(painter, text_, 2);
}

CFilePreviewWnd::CFilePreviewWnd(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("file_curve"));
    setMinimumSize(200, 190);
    setFont(info_font());
}

void CFilePreviewWnd::set_preview(const FilePreview& preview, bool enabled) {
    preview_ = preview;
    enabled_ = enabled;
    update();
}

PreviewPicture CFilePreviewWnd::picture() const {
    return enabled_ ? preview_picture(preview_) : PreviewPicture::kCross;
}

QString CFilePreviewWnd::text() const {
    return picture() == PreviewPicture::kText ? QString::fromStdString(preview_curve_text(preview_))
                                              : QString();
}

PreviewCurveGeometry CFilePreviewWnd::geometry() const {
    return layout_preview_curve(preview_.points, width(), height(), preview_.uplift);
}

void CFilePreviewWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    switch (picture()) {
        case PreviewPicture::kCross:
            painter.drawLine(0, 0, width() - 1, height() - 1);
            painter.drawLine(0, height() - 1, width() - 1, 0);
            return;
        case PreviewPicture::kText:
            draw_lines(painter, text(), 2);
            return;
        case PreviewPicture::kCurve:
            break;
    }
    const PreviewCurveGeometry curve = geometry();
    auto point = [](const PreviewCurveGeometry::Point& p) { return QPoint(p.x, p.y); };
    draw_arrow(painter, point(curve.origin), point(curve.load_axis_end));
    draw_arrow(painter, point(curve.origin), point(curve.displacement_axis_end));
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 1; i < curve.points.size(); ++i) {
        painter.drawLine(point(curve.points[i - 1]), point(curve.points[i]));
    }
    for (const auto& p : curve.points) painter.drawEllipse(point(p), kPointRadius, kPointRadius);
}

}  // namespace kvd
