// CImage: the roads (window, print, metafile), scaling, zoom and the capture
// plumbing. Ranges are in image_ranges.cpp, axes and title in image_axes.cpp.

#include "curves/image.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/numeric.h"
#include "curves/title_block.h"

namespace kvd {

namespace {

int design_width(const CurveStyle& style) {
    return style.design_width > 0 ? style.design_width : 1000;
}
int design_height(const CurveStyle& style) {
    return style.design_height > 0 ? style.design_height : 1000;
}

}  // namespace

int window_id_of(CurveKind kind) {
    switch (kind) {
        case CurveKind::kQs:
            return kQsWindowId;
        case CurveKind::kSlgt:
            return kSlgtWindowId;
        case CurveKind::kSlgQ:
            return kSlgQWindowId;
    }
    return kQsWindowId;
}

CImage::CImage(CLbxDoc& doc) : doc_(doc) {}

// ---- roads ----

void CImage::prepare(Road road) {
    road_ = road;
    const TestParams& params = doc_.record().test_params;
    kpa_unit_ = params.in_kpa();
    direction_ = params.direction_kind;
    // The window has no print rectangle; a metafile gets a token one so that
    // nothing treats it as the window (its background is not filled).
    print_rect_ = road == Road::kMetafile ? Rect{0, 1, 1, 0} : Rect{};
    calc_scale();
    if (road == Road::kWindow) window_sx_ = sx_;

    const CurveStyle& style = doc_.curve_style();
    StyleScale scale;
    scale.sx = sx_;
    scale.sy = sy_;
    scale.scale_sizes = road != Road::kPrint;
    scale.mirror = uplift();
    scale.design_height = design_height(style);
    frame_ = scale_frame(style.frame, scale);
    lines_ = scale_lines(style.lines, scale);
    if (road == Road::kPrint || (road == Road::kMetafile && !metafile_colour_)) {
        force_black_and_white(frame_, lines_);
    }
}

void CImage::calc_scale() {
    const CurveStyle& style = doc_.curve_style();
    const double dw = design_width(style);
    const double dh = design_height(style);
    switch (road_) {
        case Road::kPrint:
            calc_print_rect();
            sx_ = print_rect_.width() / dw;
            sy_ = (print_rect_.bottom - print_rect_.top) / dh;
            break;
        case Road::kWindow:
            if (style.zoom > 0 && std::isfinite(style.zoom)) {
                sx_ = style.zoom;
                sy_ = -style.zoom;
            } else {
                // Fit: fills the window both ways, whatever its aspect.
                sx_ = client_.cx / dw;
                sy_ = -client_.cy / dh;
            }
            break;
        case Road::kMetafile:
            sx_ = metafile_ratio_ > 0 && std::isfinite(metafile_ratio_) ? 2 / metafile_ratio_ : 2;
            sy_ = -2;
            break;
    }
}

void CImage::paint_window(Canvas& canvas, Size client) {
    client_ = client;
    prepare(Road::kWindow);
    CanvasState state(canvas);
    fill_background(canvas);
    paint(canvas);
}

void CImage::print(Canvas& canvas) {
    prepare(Road::kPrint);
    CanvasState state(canvas);
    if (prints_title_block(doc_.print_content().curve_layout)) draw_title_block(canvas);
    // A page too small for any curve keeps its title block only.
    if (print_rect_.width() <= 0 || print_rect_.height() <= 0) return;
    canvas.translate(print_rect_.left, print_rect_.top);
    paint(canvas);
}

void CImage::paint_metafile(Canvas& canvas, double ratio, bool colour) {
    metafile_ratio_ = ratio;
    metafile_colour_ = colour;
    prepare(Road::kMetafile);
    CanvasState state(canvas);
    paint(canvas);
}

void CImage::fill_background(Canvas& canvas) {
    const Size extent = scroll_extent();
    const int w = std::max(client_.cx, extent.cx);
    const int h = std::max(client_.cy, extent.cy);
    canvas.fill_rect(Rect{0, 0, w, -h}, frame_.background);
}

Size CImage::scroll_extent() const {
    const CurveStyle& style = doc_.curve_style();
    return {to_logical(design_width(style) * sx_ + 0.5),
            to_logical(-design_height(style) * sy_ + 0.5)};
}

Size CImage::metafile_size(double ratio) const {
    const CurveStyle& style = doc_.curve_style();
    const double sx = ratio > 0 && std::isfinite(ratio) ? 2 / ratio : 2;
    return {to_logical(design_width(style) * sx + 0.5),
            to_logical(design_height(style) * 2.0 + 0.5)};
}

void CImage::paint(Canvas& canvas) {
    calc_ranges();
    last_label_.reset();
    canvas.set_background(false, frame_.background);
    if (has_axes()) {
        draw_x_axis(canvas);
        draw_y_axis(canvas);
    }
    draw_title(canvas, latin_title(), chinese_title());
    if (has_axes()) draw_curve(canvas);
}

bool CImage::prints_title_block(int layout) const {
    return kvd::prints_title_block(kind(), layout);
}

void CImage::draw_title_block(Canvas& canvas) {
    kvd::draw_title_block(canvas, doc_.record(), doc_.page_setup(), doc_.print_content());
}

// ---- zoom ----

bool CImage::can_zoom_in() const {
    return kvd::can_zoom_in(window_sx_);
}
bool CImage::can_zoom_out() const {
    return kvd::can_zoom_out(window_sx_);
}
void CImage::zoom_in() {
    doc_.set_zoom_factor(zoom_in_from(window_sx_));
}
void CImage::zoom_out() {
    doc_.set_zoom_factor(zoom_out_from(window_sx_));
}
void CImage::fit_window() {
    doc_.set_zoom_factor(0);
}
void CImage::set_zoom_from_box(int item) {
    doc_.set_zoom_factor(zoom_of_box_item(item));
}

// ---- capture ----

HoverResult CImage::cursor_request(Point cursor) {
    return hover_point(cursor);
}

HoverResult CImage::hover_point(Point cursor) {
    HoverResult result;
    result.cursor = capture_armed_ ? CurveCursor::kKeep : CurveCursor::kDefault;
    if (!has_axes()) return result;
    if (in_plot(cursor, pixel_size_)) result.status = hover_text(cursor);
    if (!capture_armed_) {
        if (const auto hit = hit_test(cursor)) {
            remember_capture(*hit);
            result.cursor = CurveCursor::kResizeNS;
        }
    }
    return result;
}

std::optional<Rect> CImage::mouse_move(Point cursor, bool left_button) {
    if (capture_armed_ && left_button) {
        Rect dirty;
        if (drag_point(cursor, dirty)) return dirty;
        return std::nullopt;
    }
    capture_armed_ = false;
    return std::nullopt;
}

bool CImage::drag_point(Point cursor, Rect& dirty) {
    (void)cursor;
    (void)dirty;
    return false;
}

void CImage::remember_capture(const CapturedPoint& point) {
    captured_grade_ = point.grade;
    captured_reading_ = point.reading;
    capture_armed_ = true;
}

int CImage::capture_half_size() const {
    return std::abs(lines_.point_diameter) / 2;
}

bool CImage::hits(Point cursor, Point p, int half) {
    return std::llabs(static_cast<long long>(cursor.x) - p.x) <= half &&
           std::llabs(static_cast<long long>(cursor.y) - p.y) <= half;
}

double CImage::dragged_settlement(int y) const {
    const int low = std::min(frame_.origin.y, frame_.plot_bottom.y);
    const int high = std::max(frame_.origin.y, frame_.plot_bottom.y);
    return round2(settlement_at(std::clamp(y, low, high)));
}

}  // namespace kvd
