#pragma once
// COneGradeData: the readings of one load grade, in time order. A growable
// array with the classic growth rule: when it must grow, the capacity grows by
// size / 8 clamped to 4 ... 1024 (or by the grow-by value when one is set),
// or to the requested size if that is larger; new slots are zero.

#include <span>
#include <vector>

#include "record/sample_point.h"

namespace kvd {

class COneGradeData {
public:
    int size() const { return static_cast<int>(points_.size()); }
    bool empty() const { return points_.empty(); }
    int capacity() const { return capacity_; }
    void set_grow_by(int grow_by) { grow_by_ = grow_by; }

    // Resizes with the growth rule; new readings are zero. Size 0 frees the storage.
    void set_size(int new_size);
    // Makes room for at least count readings by the growth rule, so that
    // appending up to count readings allocates nothing more.
    void reserve(int count) { grow_to(count); }
    // Appends a reading and returns its index.
    int append(const SamplePoint& point);

    // Reading i, or nullptr when i is out of range.
    const SamplePoint* get(int i) const;
    SamplePoint* get(int i);
    // Overwrites reading i; ignored when out of range.
    void put(int i, const SamplePoint& point);
    // Inserts count copies of point before position i (0 <= i <= size). The
    // point is taken by value: it may be one of this grade's own readings.
    void insert(int i, SamplePoint point, int count = 1);
    // Removes count readings from position i; the part out of range is ignored.
    void remove(int i, int count = 1);

    const SamplePoint& front() const { return points_.front(); }
    const SamplePoint& back() const { return points_.back(); }
    std::span<SamplePoint> points() { return points_; }
    std::span<const SamplePoint> points() const { return points_; }

private:
    void grow_to(int required);

    std::vector<SamplePoint> points_;
    int capacity_ = 0;
    int grow_by_ = 0;
};

}  // namespace kvd
