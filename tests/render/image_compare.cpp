#include "image_compare.h"

#include <cstdlib>

#include "base/format.h"

namespace kvd::testing {
namespace {

constexpr int kGreyThreshold = 64;

}  // namespace

ImageDifference compare_images(const QImage& rendered, const QImage& reference) {
    ImageDifference difference;
    if (rendered.size() != reference.size() || rendered.isNull()) return difference;
    difference.same_size = true;
    const QImage a = rendered.convertToFormat(QImage::Format_Grayscale8);
    const QImage b = reference.convertToFormat(QImage::Format_Grayscale8);
    long long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* row_a = a.constScanLine(y);
        const uchar* row_b = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x) {
            if (std::abs(int(row_a[x]) - int(row_b[x])) > kGreyThreshold) ++differing;
        }
    }
    difference.differing_share = double(differing) / (double(a.width()) * a.height());
    return difference;
}

std::string check_against_reference(const QImage& rendered, const std::string& relative,
                                    double max_share) {
    const std::string path = std::string(KVD_SOURCE_DIR) + "/tests/data/" + relative;
    if (std::getenv("KVD_UPDATE_REFERENCES")) {
        return rendered.save(QString::fromStdString(path)) ? "" : "cannot write " + path;
    }
    QImage reference(QString::fromStdString(path));
    if (reference.isNull()) return "no reference image " + path;
    const ImageDifference difference = compare_images(rendered, reference);
    if (!difference.same_size) return "the rendering's size differs from " + path;
    if (difference.differing_share > max_share) {
        return strprintf("%.3f%% of the pixels differ from %s", difference.differing_share * 100,
                         path.c_str());
    }
    return "";
}

}  // namespace kvd::testing
