#pragma once
// CurveMark: a point the engineer marked on the Q-s curve. Held by the
// document in insertion order, drawn by the Q-s curve, never stored in files.

namespace kvd {

struct CurveMark {
    double load = 0;        // kN or kPa, as the test's loads
    double settlement = 0;  // mm
};

inline constexpr int kMaxCurveMarks = 20;

// How a mark is read off the loading curve: the settlement at a load, the
// load at a settlement, the point of a settlement-to-load ratio, or a point
// typed freely.
enum class MarkMode { kByLoad = 0, kBySettlement = 1, kByRatio = 2, kFree = 3 };

}  // namespace kvd
