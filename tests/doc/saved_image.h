#pragma once
// What an undo test compares: the record as Save would write it (derived
// values brought up to date first, as saving does), with the grade sizes and
// the curve marks, which the file image does not show.

#include <gtest/gtest.h>

#include <vector>

#include "base/byte_image.h"
#include "doc/lbx_doc.h"
#include "record/grade_compute.h"
#include "record/test_file_writer.h"

namespace kvd::testing {

struct SavedImage {
    Bytes bytes;
    std::vector<int> grade_sizes;
    std::vector<double> marks;
    bool operator==(const SavedImage&) const = default;
};

inline SavedImage saved_image(const CLbxDoc& doc) {
    TestRecord record = doc.record();
    record.save_kind = FileKind::kAnalysisWithRaw;
    refresh_derived(record);
    SavedImage image;
    EXPECT_TRUE(write_record(record, image.bytes).ok());
    for (const COneGradeData& g : record.grades.grades()) image.grade_sizes.push_back(g.size());
    for (const CurveMark& m : doc.marks()) {
        image.marks.push_back(m.load);
        image.marks.push_back(m.settlement);
    }
    return image;
}

// Undo and redo of the step a command just made: the record is as before
// the command, then as after it, byte for byte; the step bears the name.
inline void expect_undo_and_redo(CLbxDoc& doc, const SavedImage& before, const std::string& name) {
    const SavedImage after = saved_image(doc);
    ASSERT_NE(before, after) << name << ": the command changed nothing";
    EXPECT_EQ(doc.undo_name(), name);
    ASSERT_TRUE(doc.undo()) << name;
    EXPECT_EQ(saved_image(doc), before) << name;
    EXPECT_EQ(doc.redo_name(), name);
    ASSERT_TRUE(doc.redo()) << name;
    EXPECT_EQ(saved_image(doc), after) << name;
}

}  // namespace kvd::testing
