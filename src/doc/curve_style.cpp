#include "doc/curve_style.h"

namespace kvd {

bool can_zoom_in(double sx) {
    return sx < kZoomSteps.back();
}

bool can_zoom_out(double sx) {
    return sx > kZoomSteps.front();
}

double zoom_in_from(double sx) {
    for (double step : kZoomSteps) {
        if (sx < step) return step;
    }
    return kZoomSteps.back();
}

double zoom_out_from(double sx) {
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it) {
        if (sx > *it) return *it;
    }
    return kZoomSteps.front();
}

double zoom_of_box_item(int index) {
    if (index < 0 || index >= static_cast<int>(kZoomBoxItems.size())) return 0;
    return kZoomBoxItems[static_cast<std::size_t>(index)].percent / 100.0;
}

int zoom_box_index(double zoom) {
    for (std::size_t i = 0; i < kZoomBoxItems.size(); ++i) {
        if (kZoomBoxItems[i].percent / 100.0 == zoom) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace kvd
