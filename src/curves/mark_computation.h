#pragma once
// Reading a mark off the loading curve of a test: the settlement at a load,
// the load at a settlement, or the point whose settlement-to-load ratio is a
// given value; and the check of a freely typed mark. The mark dialog calls
// these on every change typed into its fields; kvdtool's mark command calls
// compute_mark directly.
//
// The loading curve is the loading grades in test order: loads L[k] (kN or
// kPa) and cumulative settlements S[k] (mm). Values are taken to decimals with
// halves away from zero: settlements to two, ratios to three, loads to whole
// numbers.

#include "doc/user_interface.h"
#include "record/test_data.h"

namespace kvd {

struct MarkResult {
    double load = 0;        // kN or kPa
    double settlement = 0;  // mm
    double ratio = 0;       // settlement / load
    bool valid = false;     // false: no segment of the curve matched (all values 0)
};

// A computed mark. value is the load (kByLoad), the settlement (kBySettlement)
// or the ratio (kByRatio). kFree computes nothing and gives an invalid result
// (see free_mark).
MarkResult compute_mark(const CTestData& grades, MarkMode mode, double value);

// A typed mark: valid when 0 <= load <= the largest load and the settlement
// lies between the test's smallest and largest settlement. The ratio stays 0.
MarkResult free_mark(const CTestData& grades, double load, double settlement);

// The mark dialog's fields after a change typed into the field its mode
// computes from: the other two recomputed (0 when nothing matched).
MarkDialogState recompute_mark_fields(const CTestData& grades, const MarkDialogState& state);

// The mark that the dialog's values stand for, recomputed from the field of
// its mode (never trusting the other fields).
MarkResult mark_of_dialog(const CTestData& grades, const MarkDialogState& state);

// x to three decimals and to a whole number, halves away from zero.
double round3(double x);
double round_whole(double x);

}  // namespace kvd
