#include "curves/title_block.h"

#include "base/format.h"
#include "base/local_time.h"
#include "curves/print_placement.h"
#include "record/grade_compute.h"

namespace kvd {

namespace {

constexpr TextFormat kCellText = kTextLeft | kTextVCentre | kTextSingleLine;
constexpr TextFormat kSummaryText = kTextCentre | kTextVCentre | kTextSingleLine;

std::string diameter_text(const TestParams& p) {
    if (p.pile_diameter < 1) return "  桩径：";
    if (p.section_shape == 1) {
        return strprintf("  桩径： %d×%d mm", p.pile_diameter, p.pile_diameter);
    }
    return strprintf("  桩径： Φ%d mm", p.pile_diameter);
}

// Rows 3 and 4: the loads and cumulative settlements of the loading grades.
void draw_summary_rows(Canvas& canvas, const TestRecord& record, const Rect& rows) {
    const TestParams& p = record.test_params;
    const int mid = rows.top - rows.height() / 2;
    const int header = canvas.text_extent(" 荷载(kPa) ").cx + 8;
    canvas.draw_text(Rect{rows.left, rows.top, rows.left + header, mid},
                     p.in_kpa() ? "荷载(kPa)" : "荷载(kN)", kSummaryText);
    canvas.draw_text(Rect{rows.left, mid, rows.left + header, rows.bottom},
                     p.is_uplift() ? "上拔(mm)" : "沉降(mm)", kSummaryText);
    canvas.line({rows.left + header, rows.top}, {rows.left + header, rows.bottom});

    std::vector<GradeSummary> loading;
    for (const GradeSummary& s : summarize_grades(record.grades)) {
        if (s.loading == kLoading) loading.push_back(s);
    }
    if (loading.empty()) return;
    const long long n = static_cast<long long>(loading.size());
    const long long start = rows.left + header;
    const long long rest = rows.right - start;
    for (long long k = 0; k < n; ++k) {
        const int left = static_cast<int>(start + k * rest / n);
        const int right = static_cast<int>(start + (k + 1) * rest / n);
        const GradeSummary& s = loading[static_cast<std::size_t>(k)];
        canvas.draw_text(Rect{left, rows.top, right, mid}, strprintf("%d", s.load), kSummaryText);
        canvas.draw_text(Rect{left, mid, right, rows.bottom}, strprintf("%6.2f", s.cumulative),
                         kSummaryText);
        if (k + 1 < n) canvas.line({right, rows.top}, {right, rows.bottom});
    }
}

}  // namespace

TitleBlockTexts title_block_texts(const TestParams& p) {
    TitleBlockTexts t;
    const bool foundation = p.test_object == 1;
    t.row1.push_back(strprintf("  工程名称： %s", p.site_name.c_str()));
    t.row1.push_back(
        strprintf(foundation ? "  试验点号： %s" : "  试验桩号： %s", p.pile_number.c_str()));
    t.row2.push_back("  测试日期： " + format_local_time(p.test_time, "%Y-%m-%d"));
    if (foundation) {
        t.row2.push_back(p.plate_area > 0.01 ? strprintf("  压板面积： %4.2f ㎡", p.plate_area)
                                             : std::string("  压板面积："));
        t.row2.push_back(p.replacement_ratio > 0.01
                             ? strprintf("  置换率： %5.3f", p.replacement_ratio)
                             : std::string("  置换率："));
    } else {
        t.row2.push_back(p.pile_length > 0.01 ? strprintf("  桩长： %5.1f m", p.pile_length)
                                              : std::string("  桩长："));
        t.row2.push_back(diameter_text(p));
    }
    return t;
}

void draw_title_block(Canvas& canvas, const TestRecord& record, const PageSetup& setup,
                      const PrintContent& content) {
    CanvasState state(canvas);
    const Rect inner{setup.left_margin, -setup.top_margin, setup.paper_width - setup.right_margin,
                     -(setup.paper_height - setup.bottom_margin)};
    canvas.set_background(false, kWhite);
    canvas.set_text_colour(kBlack);
    canvas.set_brush(Brush{});
    canvas.set_pen(Pen{PenStyle::kSolid, 3, kBlack});
    canvas.rectangle(inner);

    Font font;
    font.face = "Times New Roman";
    font.weight = 400;
    font.height = -(setup.row_height * 7 / 10);
    canvas.set_font(font);
    canvas.set_pen(Pen{PenStyle::kSolid, 1, kBlack});

    const int h = setup.row_height;
    const int w = inner.width();
    const int rows = title_block_rows(content);
    for (int r = 1; r <= rows; ++r) {
        const int y = inner.top - r * h;
        canvas.line({inner.left, y}, {inner.right, y});
    }

    const TitleBlockTexts texts = title_block_texts(record.test_params);
    const int x13 = inner.left + w / 3;
    const int x23 = inner.left + 2 * w / 3;
    const int y1 = inner.top - h;
    const int y2 = inner.top - 2 * h;
    canvas.line({x23, inner.top}, {x23, y1});
    canvas.draw_text(Rect{inner.left, inner.top, x23, y1}, texts.row1[0], kCellText);
    canvas.draw_text(Rect{x23, inner.top, inner.right, y1}, texts.row1[1], kCellText);
    canvas.line({x13, y1}, {x13, y2});
    canvas.line({x23, y1}, {x23, y2});
    canvas.draw_text(Rect{inner.left, y1, x13, y2}, texts.row2[0], kCellText);
    canvas.draw_text(Rect{x13, y1, x23, y2}, texts.row2[1], kCellText);
    canvas.draw_text(Rect{x23, y1, inner.right, y2}, texts.row2[2], kCellText);

    if (rows == 4) {
        draw_summary_rows(canvas, record, Rect{inner.left, y2, inner.right, y2 - 2 * h});
    }
}

}  // namespace kvd
