#include "app/tables/grid_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "qt/font_setup.h"
#include "qt/qt_canvas.h"
#include "tables/source_table.h"

namespace kvd {
namespace {

// Weight of the corner captions while the current cell is in the header band
// or the time column.
constexpr int kBoldCaptionWeight = 600;

QRect to_qrect(const CGrid::PixelRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QString to_qstring(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The cell format's alignment. As with the system's text drawing, the
// vertical alignment applies to single-line text only.
Qt::Alignment alignment_of(TextFormat format) {
    Qt::Alignment alignment = Qt::AlignLeft;
    if (format & kTextCentre) {
        alignment = Qt::AlignHCenter;
    } else if (format & kTextRight) {
        alignment = Qt::AlignRight;
    }
    if (!(format & kTextSingleLine)) return alignment | Qt::AlignTop;
    if (format & kTextVCentre) return alignment | Qt::AlignVCenter;
    if (format & kTextBottom) return alignment | Qt::AlignBottom;
    return alignment | Qt::AlignTop;
}

const std::vector<RowSpan>* spans_holding(const std::vector<std::vector<RowSpan>>& spans,
                                          int column) {
    if (column < 0 || column >= static_cast<int>(spans.size())) return nullptr;
    const auto& list = spans[static_cast<std::size_t>(column)];
    return list.empty() ? nullptr : &list;
}

// The run of `spans` (ascending, disjoint) holding row, if any.
const RowSpan* span_of(const std::vector<RowSpan>& spans, int row) {
    auto it = std::upper_bound(spans.begin(), spans.end(), row,
                               [](int r, const RowSpan& s) { return r < s.first_row; });
    if (it == spans.begin()) return nullptr;
    --it;
    return row <= it->last_row ? &*it : nullptr;
}

// Where the upper captions end and the lower ones begin. The header is as
// high as three lines; a two-line caption under a one-line one (the anchor
// pile table's "试桩荷载\n(kN)" below "锚桩编号") needs two of them, so the
// band is shared out by lines rather than halved.
int header_split(const std::vector<HeaderCaption>& captions, int height) {
    auto lines = [](const std::string& text) {
        return text.empty() ? 0 : 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    };
    int upper = 0;
    int lower = 0;
    for (const HeaderCaption& caption : captions) {
        const int count = lines(caption.text);
        if (caption.part == HeaderCaption::Part::kUpper) upper = std::max(upper, count);
        if (caption.part == HeaderCaption::Part::kLower) lower = std::max(lower, count);
    }
    if (upper == 0 || lower == 0) return height / 2;
    return height * upper / (upper + lower);
}

}  // namespace

QFont screen_qfont(const Font& font) {
    // A table has a handful of fonts, painted over and over: a QFont built
    // afresh for every paint looks its face up in the font database again
    // (a third of a table's paint). Copies share the looked-up face.
    static std::vector<std::pair<Font, QFont>> made;
    for (const auto& [key, qfont] : made) {
        if (key == font) return qfont;
    }
    constexpr std::size_t kKeptFonts = 64;
    if (made.size() >= kKeptFonts) made.clear();
    made.emplace_back(font, make_device_font(font, 1.0, nullptr).font);
    return made.back().second;
}

QRect drawn_cell_rect(const CMyGrid& grid, int row, int column) {
    if (!grid.cell(row, column)) return {};
    QRect rect = to_qrect(grid.cell_rect(row, column));
    if (const auto* raw = dynamic_cast<const CSourceTable*>(&grid)) {
        const RowSpan span = raw->merged_span(row, column);
        if (span.rows() > 1) {
            rect = to_qrect(grid.cell_rect(span.first_row, column))
                       .united(to_qrect(grid.cell_rect(span.last_row, column)));
        }
    }
    return rect;
}

GridPainter::GridPainter(const CMyGrid& grid, QPainter& painter, TextCache& texts)
    : grid_(grid),
      painter_(painter),
      texts_(texts),
      header_width_(grid.header_width()),
      header_height_(grid.header_height()),
      client_width_(grid.client_width()),
      client_height_(grid.client_height()) {
    row_starts_.assign(static_cast<std::size_t>(grid.row_count()) + 1, 0);
    for (int r = 0; r < grid.row_count(); ++r) {
        row_starts_[static_cast<std::size_t>(r) + 1] =
            row_starts_[static_cast<std::size_t>(r)] + grid.row_height(r);
    }
    column_starts_.assign(static_cast<std::size_t>(grid.column_count()) + 1, 0);
    for (int c = 0; c < grid.column_count(); ++c) {
        column_starts_[static_cast<std::size_t>(c) + 1] =
            column_starts_[static_cast<std::size_t>(c)] + grid.column_width(c);
    }
    split_ = header_split(grid.header_captions(), header_height_);
    if (const auto* raw = dynamic_cast<const CSourceTable*>(&grid)) {
        spans_.resize(static_cast<std::size_t>(grid.column_count()));
        for (int c = 0; c < grid.column_count(); ++c) {
            spans_[static_cast<std::size_t>(c)] = raw->merged_rows(c);
        }
    }
}

const GridPainter::ScreenFont& GridPainter::font_of(const Font& font) {
    for (const ScreenFont& known : fonts_) {
        if (known.key == font) return known;
    }
    const QFont qfont = screen_qfont(font);
    fonts_.push_back({font, qfont, QFontMetrics(qfont), &texts_.font(qfont)});
    return fonts_.back();
}

int GridPainter::column_left(int column) const {
    const int x = column_starts_[static_cast<std::size_t>(column)];
    return column < grid_.fixed_column_count() ? x : x - grid_.scroll_x();
}

int GridPainter::row_top(int row) const {
    const int y = row_starts_[static_cast<std::size_t>(row)];
    return row < grid_.fixed_row_count() ? y : y - grid_.scroll_y();
}

GridPainter::Band GridPainter::visible(const std::vector<int>& starts, int fixed, int scroll,
                                       int from, int to) const {
    const int count = static_cast<int>(starts.size()) - 1;
    if (to <= from || fixed >= count) return {};
    // First index whose far edge passes `from`, last whose near edge is before `to`.
    const auto first = std::upper_bound(starts.begin(), starts.end(), from + scroll);
    const auto past = std::lower_bound(starts.begin(), starts.end(), to + scroll);
    Band band;
    band.first = std::max(fixed, static_cast<int>(first - starts.begin()) - 1);
    band.last = std::min(count - 1, static_cast<int>(past - starts.begin()) - 1);
    return band;
}

void GridPainter::paint(bool show_current) {
    painter_.save();
    painter_.fillRect(QRect(0, 0, client_width_, client_height_),
                      to_qcolor(grid_.colours().background));
    const int fixed_rows = grid_.fixed_row_count();
    const int fixed_columns = grid_.fixed_column_count();
    const Band body_rows = visible(row_starts_, fixed_rows, grid_.scroll_y(), header_height_,
                                   client_height_);
    const Band body_columns = visible(column_starts_, fixed_columns, grid_.scroll_x(),
                                      header_width_, client_width_);
    const Band fixed_column_band{0, fixed_columns - 1};
    const int body_width = client_width_ - header_width_;
    const int body_height = client_height_ - header_height_;

    painter_.setClipRect(QRect(header_width_, header_height_, body_width, body_height));
    paint_cells(body_rows, body_columns);
    painter_.setClipRect(QRect(0, header_height_, header_width_, body_height));
    paint_cells(body_rows, fixed_column_band);
    if (fixed_rows > 0) {
        painter_.setClipRect(QRect(header_width_, 0, body_width, header_height_));
        paint_header(body_columns);
        painter_.setClipRect(QRect(0, 0, header_width_, header_height_));
        paint_header(fixed_column_band);
    }
    painter_.setClipping(false);
    if (show_current) paint_current();
    painter_.restore();
}

void GridPainter::paint_cells(Band rows, Band columns) {
    for (int c = columns.first; c <= columns.last; ++c) {
        const std::vector<RowSpan>* spans = spans_holding(spans_, c);
        const int left = column_left(c);
        const int width = grid_.column_width(c);
        for (int r = rows.first; r <= rows.last; ++r) {
            if (spans) {
                if (const RowSpan* span = span_of(*spans, r)) {
                    // A merged run is drawn once, from its first visible row.
                    if (r == std::max(span->first_row, rows.first)) {
                        const int top = row_top(span->first_row);
                        const int bottom = row_top(span->last_row) + grid_.row_height(span->last_row);
                        paint_cell(QRect(left, top, width, bottom - top), span->first_row, c);
                    }
                    continue;
                }
            }
            paint_cell(QRect(left, row_top(r), width, grid_.row_height(r)), r, c);
        }
    }
    flush_lines();
}

void GridPainter::paint_cell(const QRect& rect, int row, int column) {
    if (rect.isEmpty()) return;
    painter_.fillRect(rect, to_qcolor(grid_.effective_background(row, column)));
    const std::string text = grid_.cell_text(row, column);
    const GridCell* cell = grid_.cell(row, column);
    if (!text.empty() && cell) {
        const ScreenFont& font = font_of(grid_.cell_font(row, column));
        painter_.setFont(font.font);
        painter_.setPen(to_qcolor(grid_.effective_text_colour(row, column)));
        // The right and bottom pixels carry the grid lines.
        const QRect area = rect.adjusted(CGrid::kMargin, 0, -CGrid::kMargin - 1, -1);
        QString shown = to_qstring(text);
        int flags = static_cast<int>(alignment_of(cell->format));
        if (cell->format & kTextSingleLine) {
            shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
            draw_line_of_text(area, flags | Qt::TextSingleLine, shown, font,
                              (cell->format & kTextEndEllipsis) != 0);
        } else if (cell->format & kTextWordBreak) {
            painter_.drawText(area, flags | Qt::TextWordWrap, shown);
        } else if (shown.contains(QLatin1Char('\n'))) {
            painter_.drawText(area, flags, shown);
        } else {
            draw_line_of_text(area, flags, shown, font, false);
        }
    }
    const int mode = grid_.grid_lines();
    draw_lines(rect, mode & kGridLinesHorizontal, mode & kGridLinesVertical);
}

void GridPainter::draw_line_of_text(const QRect& area, int flags, const QString& text,
                                    const ScreenFont& font, bool elide) {
    const TextCache::Text* laid_out = &font.texts->text(text);
    const QSizeF fits = area.size();
    // A text too wide for a cell that ends in an ellipsis is cut back to fit.
    if (elide && laid_out->size.width() > fits.width()) {
        laid_out = &font.texts->text(font.metrics.elidedText(text, Qt::ElideRight, area.width()));
    }
    // What does not fit is clipped to the cell, as drawText does.
    if (laid_out->size.width() > fits.width() || laid_out->size.height() > fits.height()) {
        painter_.drawText(area, flags, laid_out->glyphs.text());
        return;
    }
    double x = area.left();
    if (flags & Qt::AlignRight) x = area.left() + area.width() - laid_out->size.width();
    if (flags & Qt::AlignHCenter) x = area.left() + (area.width() - laid_out->size.width()) / 2;
    double y = area.top();
    if (flags & Qt::AlignBottom) y = area.top() + area.height() - laid_out->size.height();
    if (flags & Qt::AlignVCenter) y = area.top() + (area.height() - laid_out->size.height()) / 2;
    painter_.drawStaticText(QPointF(x, y), laid_out->glyphs);
}

void GridPainter::paint_header(Band columns) {
    if (columns.last < columns.first) return;
    const bool fixed = columns.first < grid_.fixed_column_count();
    std::vector<bool> covered(static_cast<std::size_t>(grid_.column_count()), false);
    for (int c = columns.first; c <= columns.last; ++c) {
        painter_.fillRect(QRect(column_left(c), 0, grid_.column_width(c), header_height_),
                          to_qcolor(grid_.effective_background(0, c)));
    }
    for (const HeaderCaption& caption : grid_.header_captions()) {
        if (caption.first_column > caption.last_column || caption.first_column < 0 ||
            caption.last_column >= grid_.column_count()) {
            continue;
        }
        if ((caption.first_column < grid_.fixed_column_count()) != fixed) continue;
        if (caption.last_column < columns.first || caption.first_column > columns.last) continue;
        paint_caption(caption);
        for (int c = caption.first_column; c <= caption.last_column; ++c) {
            covered[static_cast<std::size_t>(c)] = true;
        }
    }
    for (int c = columns.first; c <= columns.last; ++c) {
        if (!covered[static_cast<std::size_t>(c)]) {
            draw_lines(QRect(column_left(c), 0, grid_.column_width(c), header_height_), true,
                       true);
        }
    }
    flush_lines();
}

void GridPainter::paint_caption(const HeaderCaption& caption) {
    using Part = HeaderCaption::Part;
    const int left = column_left(caption.first_column);
    const int right = column_left(caption.last_column) + grid_.column_width(caption.last_column);
    QRect rect(left, 0, right - left, header_height_);
    if (caption.part == Part::kUpper) rect.setHeight(split_);
    if (caption.part == Part::kLower) rect.setTop(split_);
    if (rect.isEmpty()) return;

    Font font = grid_.font();
    if (caption.bold) font.weight = kBoldCaptionWeight;
    const ScreenFont& screen = font_of(font);
    painter_.setFont(screen.font);
    painter_.setPen(to_qcolor(grid_.effective_text_colour(0, caption.first_column)));
    const QRect area = rect.adjusted(CGrid::kMargin, 1, -CGrid::kMargin - 1, -2);
    const QString text = to_qstring(caption.text);
    switch (caption.part) {
        case Part::kDiagonalUpper:
            painter_.drawText(area, Qt::AlignRight | Qt::AlignTop, text);
            break;
        case Part::kDiagonalLower:
            painter_.drawText(area, Qt::AlignLeft | Qt::AlignBottom, text);
            break;
        default:
            if (text.contains(QLatin1Char('\n'))) {
                painter_.drawText(area, Qt::AlignCenter, text);
            } else {
                draw_line_of_text(area, Qt::AlignCenter, text, screen, false);
            }
            break;
    }
    if (caption.part == Part::kDiagonalUpper || caption.part == Part::kDiagonalLower) {
        painter_.setPen(to_qcolor(grid_.colours().grid_lines));
        painter_.drawLine(rect.topLeft(), rect.bottomRight());
    }
    draw_lines(rect, true, true);
}

void GridPainter::paint_current() {
    const CellId current = grid_.current_cell();
    if (!current.valid()) return;
    const QRect rect = drawn_cell_rect(grid_, current.row, current.column);
    if (rect.width() < 4 || rect.height() < 4) return;
    const int clip_left = current.column < grid_.fixed_column_count() ? 0 : header_width_;
    const int clip_top = current.row < grid_.fixed_row_count() ? 0 : header_height_;
    painter_.setClipRect(QRect(clip_left, clip_top, client_width_ - clip_left,
                               client_height_ - clip_top));
    painter_.setPen(QPen(Qt::black, 1));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(rect.adjusted(0, 0, -1, -1));
    painter_.drawRect(rect.adjusted(1, 1, -2, -2));
    painter_.setClipping(false);
}

void GridPainter::draw_lines(const QRect& rect, bool horizontal, bool vertical) {
    if (horizontal) lines_.emplace_back(rect.bottomLeft(), rect.bottomRight());
    if (vertical) lines_.emplace_back(rect.topRight(), rect.bottomRight());
}

void GridPainter::flush_lines() {
    if (lines_.empty()) return;
    painter_.setPen(to_qcolor(grid_.colours().grid_lines));
    painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
    lines_.clear();
}

}  // namespace kvd
