#pragma once
// Renders report pages to PDF, PNG and SVG files. A page is a function that
// draws on a Canvas in 0.1 mm with y growing upwards and the origin at the
// paper's top-left corner, so the page spans x from 0 to the paper width and
// y from 0 down to minus the paper height. The same painters serve printing.
//
// These need a QGuiApplication (fonts); without one they fail with a message.

#include <QImage>
#include <filesystem>
#include <functional>
#include <vector>

#include "base/status.h"
#include "draw/canvas.h"

namespace kvd {

using PagePainter = std::function<void(Canvas&)>;

inline constexpr int kPdfDpi = 1200;
inline constexpr int kPngDpi = 150;
// Largest raster image made, in pixels (about 400 MB at 4 bytes a pixel).
inline constexpr long long kMaxImagePixels = 100'000'000;

// One PDF page per painter, each of the paper size (`paper` in 0.1 mm, as
// placed: a landscape paper is wider than high), without margins.
Status render_pages_to_pdf(const std::filesystem::path& path, Size paper,
                           const std::vector<PagePainter>& pages);

// The page on a white background, antialiased, at `dpi` dots per inch.
// `image` is left null on failure.
Status render_page_to_image(QImage& image, Size paper, const PagePainter& page, int dpi = kPngDpi);
Status render_page_to_png(const std::filesystem::path& path, Size paper, const PagePainter& page,
                          int dpi = kPngDpi);

// An SVG whose user unit is 0.1 mm, sized in millimetres.
Status render_page_to_svg(const std::filesystem::path& path, Size paper, const PagePainter& page);

}  // namespace kvd
