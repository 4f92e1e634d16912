#include "qt/page_render.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

#include "base/file_io.h"
#include "base/format.h"
#include "qt/font_setup.h"
#include "qt/qt_canvas.h"

namespace kvd {

namespace {

// Tenths of a millimetre in an inch.
constexpr double kUnitsPerInch = 254.0;
// Larger than any paper (10 m), so that a wild size is refused before it is used.
constexpr int kMaxPaper = 100000;

Status check_setting(Size paper) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return Status::failure("图形环境未初始化，无法输出页面。");
    }
    if (paper.cx <= 0 || paper.cy <= 0 || paper.cx > kMaxPaper || paper.cy > kMaxPaper) {
        return Status::failure(
            strprintf("纸张尺寸无效：%d × %d（单位 0.1 毫米）。", paper.cx, paper.cy));
    }
    return Status::success();
}

Status failed_to_render(const std::filesystem::path& path) {
    return Status::failure("无法生成文件 " + path.string() + "。");
}

// The file is made in memory and then replaces the target in one step, so a
// failed export never leaves half a file or destroys the previous one.
Status store(const std::filesystem::path& path, const QByteArray& bytes) {
    if (bytes.isEmpty()) return failed_to_render(path);
    return replace_file_atomically(
        path, ByteView(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       static_cast<std::size_t>(bytes.size())));
}

void paint(QPainter& painter, const CanvasMapping& mapping, const PagePainter& page) {
    QtCanvas canvas(painter, mapping);
    if (page) page(canvas);
}

}  // namespace

Status render_pages_to_pdf(const std::filesystem::path& path, Size paper,
                           const std::vector<PagePainter>& pages) {
    if (Status status = check_setting(paper); !status.ok()) return status;
    if (pages.empty()) return Status::failure("没有可输出的页面。");
    install_font_substitutions();

    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfDpi);
        writer.setCreator(QStringLiteral("KVD"));
        const QPageSize size(QSizeF(paper.cx / 10.0, paper.cy / 10.0), QPageSize::Millimeter,
                             QString(), QPageSize::ExactMatch);
        writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) return failed_to_render(path);
        const CanvasMapping mapping = CanvasMapping::page(kPdfDpi);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0 && !writer.newPage()) {
                painter.end();
                return failed_to_render(path);
            }
            paint(painter, mapping, pages[i]);
        }
        if (!painter.end()) return failed_to_render(path);
    }
    return store(path, bytes);
}

Status render_page_to_image(QImage& image, Size paper, const PagePainter& page, int dpi) {
    image = QImage();
    if (Status status = check_setting(paper); !status.ok()) return status;
    if (dpi < 10 || dpi > 2400) return Status::failure(strprintf("分辨率无效：%d dpi。", dpi));
    const auto pixels = [dpi](int units) {
        return static_cast<int>(std::lround(units * dpi / kUnitsPerInch));
    };
    const int width = std::max(1, pixels(paper.cx));
    const int height = std::max(1, pixels(paper.cy));
    if (static_cast<long long>(width) * height > kMaxImagePixels) {
        return Status::failure(
            strprintf("图像过大（%d × %d 像素），请降低分辨率。", width, height));
    }
    QImage result(width, height, QImage::Format_RGB32);
    if (result.isNull()) return Status::failure("内存不足，无法生成图像。");
    const int dots_per_metre = static_cast<int>(std::lround(dpi / 0.0254));
    result.setDotsPerMeterX(dots_per_metre);
    result.setDotsPerMeterY(dots_per_metre);
    result.fill(Qt::white);
    install_font_substitutions();
    {
        QPainter painter(&result);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                               QPainter::SmoothPixmapTransform);
        paint(painter, CanvasMapping::page(dpi), page);
    }
    image = std::move(result);
    return Status::success();
}

Status render_page_to_png(const std::filesystem::path& path, Size paper, const PagePainter& page,
                          int dpi) {
    QImage image;
    if (Status status = render_page_to_image(image, paper, page, dpi); !status.ok()) {
        return status;
    }
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) return failed_to_render(path);
    }
    return store(path, bytes);
}

Status render_page_to_svg(const std::filesystem::path& path, Size paper, const PagePainter& page) {
    if (Status status = check_setting(paper); !status.ok()) return status;
    install_font_substitutions();
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        // At 254 dots per inch one SVG user unit is exactly 0.1 mm.
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(static_cast<int>(kUnitsPerInch));
        generator.setSize(QSize(paper.cx, paper.cy));
        generator.setViewBox(QRect(0, 0, paper.cx, paper.cy));
        QPainter painter;
        if (!painter.begin(&generator)) return failed_to_render(path);
        paint(painter, CanvasMapping::page(kUnitsPerInch), page);
        if (!painter.end()) return failed_to_render(path);
    }
    return store(path, bytes);
}

}  // namespace kvd
