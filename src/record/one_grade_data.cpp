#include "record/one_grade_data.h"

#include <algorithm>

namespace kvd {

void COneGradeData::grow_to(int required) {
    if (required <= capacity_) return;
    int increment = grow_by_ > 0 ? grow_by_ : std::clamp(size() / 8, 4, 1024);
    capacity_ = std::max(capacity_ + increment, required);
    points_.reserve(static_cast<std::size_t>(capacity_));
}

void COneGradeData::set_size(int new_size) {
    if (new_size <= 0) {
        std::vector<SamplePoint>().swap(points_);
        capacity_ = 0;
        return;
    }
    grow_to(new_size);
    points_.resize(static_cast<std::size_t>(new_size), SamplePoint{});
}

int COneGradeData::append(const SamplePoint& point) {
    grow_to(size() + 1);
    points_.push_back(point);
    return size() - 1;
}

const SamplePoint* COneGradeData::get(int i) const {
    return i >= 0 && i < size() ? &points_[static_cast<std::size_t>(i)] : nullptr;
}

SamplePoint* COneGradeData::get(int i) {
    return i >= 0 && i < size() ? &points_[static_cast<std::size_t>(i)] : nullptr;
}

void COneGradeData::put(int i, const SamplePoint& point) {
    if (SamplePoint* slot = get(i)) *slot = point;
}

void COneGradeData::insert(int i, SamplePoint point, int count) {
    if (i < 0 || i > size() || count <= 0) return;
    grow_to(size() + count);
    points_.insert(points_.begin() + i, static_cast<std::size_t>(count), point);
}

void COneGradeData::remove(int i, int count) {
    if (i < 0 || i >= size() || count <= 0) return;
    int end = count >= size() - i ? size() : i + count;  // i + count may not fit an int
    points_.erase(points_.begin() + i, points_.begin() + end);
}

}  // namespace kvd
