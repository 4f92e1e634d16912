#include "curves/print_placement.h"

namespace kvd {

int normalised_layout(int layout) {
    return layout >= 0 && layout <= 3 ? layout : 0;
}

PrintPiece print_piece(CurveKind kind, int layout) {
    using P = PrintPiece;
    switch (normalised_layout(layout)) {
        case 1:
            return kind == CurveKind::kQs     ? P::kFirstHalf
                   : kind == CurveKind::kSlgt ? P::kSecondHalf
                                              : P::kWhole;
        case 2:
            return kind == CurveKind::kQs     ? P::kWhole
                   : kind == CurveKind::kSlgt ? P::kFirstHalf
                                              : P::kSecondHalf;
        case 3:
            return kind == CurveKind::kQs     ? P::kFirstPart
                   : kind == CurveKind::kSlgt ? P::kSecondPart
                                              : P::kThirdPart;
        default:
            return P::kWhole;
    }
}

bool prints_title_block(CurveKind kind, int layout) {
    const int l = normalised_layout(layout);
    switch (kind) {
        case CurveKind::kQs:
            return true;
        case CurveKind::kSlgt:
            return l == 0 || l == 2;
        case CurveKind::kSlgQ:
            return l == 0 || l == 1;
    }
    return false;
}

int title_block_rows(const PrintContent& content) {
    return content.simple_summary ? 4 : 2;
}

Rect curve_print_area(const PageSetup& s, const PrintContent& content) {
    const int top = -(s.top_margin + title_block_rows(content) * s.row_height);
    return {s.left_margin, top, s.paper_width - s.right_margin,
            -(s.paper_height - s.bottom_margin)};
}

Rect cut_piece(const Rect& a, PrintPiece piece) {
    const int w = a.width();
    const int h = a.height();
    const bool portrait = h > w;
    const int mid_x = a.left + w / 2;
    const int mid_y = a.top - h / 2;
    switch (piece) {
        case PrintPiece::kWhole:
            return a;
        case PrintPiece::kFirstHalf:
            return portrait ? Rect{a.left, a.top, a.right, mid_y}
                            : Rect{a.left, a.top, mid_x, a.bottom};
        case PrintPiece::kSecondHalf:
            return portrait ? Rect{a.left, mid_y, a.right, a.bottom}
                            : Rect{mid_x, a.top, a.right, a.bottom};
        case PrintPiece::kFirstPart:
            return portrait ? Rect{a.left, a.top, mid_x, mid_y}
                            : Rect{a.left, a.top, a.left + w / 3, a.bottom};
        case PrintPiece::kSecondPart:
            return portrait ? Rect{mid_x, a.top, a.right, mid_y}
                            : Rect{a.left + w / 3, a.top, a.left + 2 * w / 3, a.bottom};
        case PrintPiece::kThirdPart:
            return portrait ? Rect{a.left, mid_y, mid_x, a.bottom}
                            : Rect{a.left + 2 * w / 3, a.top, a.right, a.bottom};
    }
    return a;
}

Rect fit_curve_rect(const Rect& piece, int aspect) {
    const Rect inner{piece.left + 10, piece.top - 10, piece.right - 20, piece.bottom + 10};
    const long long w = inner.width();
    const long long h = inner.height();
    if (w <= 0 || h <= 0) return {};
    long long cw = 0;
    long long ch = 0;
    if (aspect == 1) {
        cw = ch = w < h ? w : h;
    } else if (w * 3 >= h * 2) {
        ch = h;
        cw = h * 2 / 3;
    } else {
        cw = w;
        ch = w * 3 / 2;
    }
    const int left = inner.left + static_cast<int>((w - cw) / 2);
    const int top = inner.top - static_cast<int>((h - ch) / 2);
    return {left, top, left + static_cast<int>(cw), top - static_cast<int>(ch)};
}

Rect curve_print_rect(CurveKind kind, const PageSetup& setup, const PrintContent& content) {
    const Rect area = curve_print_area(setup, content);
    return fit_curve_rect(cut_piece(area, print_piece(kind, content.curve_layout)),
                          content.curve_aspect);
}

}  // namespace kvd
