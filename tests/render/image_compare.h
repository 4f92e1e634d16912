#pragma once
// Comparing a rendering with its committed reference image. Text antialiasing
// may differ by a shade between machines, so pixels count as different only
// past a grey-level threshold, and a small share of them is tolerated.
// KVD_UPDATE_REFERENCES=1 in the environment writes the rendering as the new
// reference instead (then look at it before committing it).

#include <QImage>

#include <string>

namespace kvd::testing {

struct ImageDifference {
    bool same_size = false;
    double differing_share = 1.0;  // of all pixels
};

ImageDifference compare_images(const QImage& rendered, const QImage& reference);

// Compares with tests/data/<relative>; returns an empty string when they match
// within max_share, else what differs.
std::string check_against_reference(const QImage& rendered, const std::string& relative,
                                    double max_share = 0.005);

}  // namespace kvd::testing
