#pragma once
// The record edits that only the curves make: a displacement added to one
// reading (s-lgt) or to every reading of one grade (Q-s, s-lgQ), by a drag or
// by "移动到(&M) ...". Each adds d to every channel whose averaged flag is 1
// and ends with the document's commit_change, which brings that grade's
// derived values (and the next grade's first reading) up to date, marks the
// document modified and tells the views which reading changed:
// (grade << 16) | reading, reading 0xFFFF for a whole grade, and, when the
// last reading of a grade or a whole grade changed, also (grade + 1) << 16,
// because the next grade's first reading repeats that last reading.

#include "doc/lbx_doc.h"

namespace kvd {

// Largest magnitude, mm, of a displacement these edits write: every value
// stays finite and far inside what the tables can print.
inline constexpr double kMaxEditedDisplacement = 1e9;

// False, and nothing changed, when the reading or grade does not exist, d is
// not finite or 0, or a channel would leave +-kMaxEditedDisplacement.
bool add_to_reading(CLbxDoc& doc, int grade, int reading, double d);
bool add_to_grade(CLbxDoc& doc, int grade, double d);

}  // namespace kvd
