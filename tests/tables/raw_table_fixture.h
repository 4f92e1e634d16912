#pragma once
// Shared set-up of the raw record, modification record and anchor pile table
// tests: a document whose record is built reading by reading, the process-wide
// extended display switch put back after each test, and helpers that look at
// what a page drew.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/local_time.h"
#include "doc/extended_display.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "draw/recording_canvas.h"

namespace kvd::testing {

// 2024-05-01 08:00 local time: times of the readings read as clock texts.
inline std::int64_t local(int hour, int minute, int second = 0) {
    return *make_local_time(2024, 5, 1, hour, minute, second);
}

inline RawReading raw(int grade, int index, int load, std::int64_t time) {
    RawReading r{};
    r.time = time;
    r.loading = kLoading;
    r.grade = grade;
    r.index = index;
    r.grade_load = load;
    r.load_a = load + 1;
    r.load_b = load + 2;
    r.pressure_a = 1.5;
    r.pressure_b = 2.25;
    return r;
}

inline std::vector<recorded::Text> texts_containing(const RecordingCanvas& canvas,
                                                    std::string_view part) {
    std::vector<recorded::Text> found;
    for (const auto& text : canvas.texts()) {
        if (text.text.find(part) != std::string::npos) found.push_back(text);
    }
    return found;
}

inline int count_exactly(const RecordingCanvas& canvas, std::string_view whole) {
    int n = 0;
    for (const auto& text : canvas.texts()) n += text.text == whole;
    return n;
}

// The lowest y any drawing of a page reached (y grows upwards).
inline int lowest_drawing(const RecordingCanvas& canvas) {
    int lowest = 0;
    for (const auto& text : canvas.texts()) lowest = std::min(lowest, text.box.bottom);
    for (const auto& line : canvas.lines()) lowest = std::min({lowest, line.from.y, line.to.y});
    for (const auto& rect : canvas.of_kind<recorded::Rectangle>()) {
        lowest = std::min(lowest, rect.rect.bottom);
    }
    return lowest;
}

class RawTableTest : public ::testing::Test {
  protected:
    RawTableTest() {
        saved_extended_ = extended_display();
        TestRecord& record = doc_.record();
        record.raw_readings.clear();
        record.mod_blocks.clear();
        record.param_snapshots.clear();
        TestHeader& h = record.header;
        std::memcpy(h.format_tag, "VXRAC", 5);
        // Channels 1 and 2 on the test pile and averaged, 4 on an anchor pile.
        h.in_use[0] = h.in_use[1] = h.in_use[3] = 1;
        h.test_pile[0] = h.test_pile[1] = 1;
        h.averaged[0] = h.averaged[1] = 1;
        const std::uint16_t load[12] = {0, 5, 10, 15, 15, 15, 30, 30, 30, 30, 30, 30};
        const std::uint16_t unload[12] = {0, 15, 15, 30, 180, 180, 180, 180, 180, 180, 180, 180};
        std::memcpy(h.load_intervals, load, sizeof load);
        std::memcpy(h.unload_intervals, unload, sizeof unload);
        h.direction_kind = 1;
        record.opened_kind = record.save_kind = FileKind::kTestFile;
        rebuild();
    }
    ~RawTableTest() override { set_extended_display(saved_extended_); }

    void add(const RawReading& reading) {
        doc_.record().raw_readings.push_back(reading);
        ReadingParams snapshot = snapshot_from_header(doc_.record().header);
        snapshot.stability_count =
            static_cast<std::uint8_t>(10 + doc_.record().param_snapshots.size());
        doc_.record().param_snapshots.push_back(snapshot);
    }
    void rebuild() { doc_.record().rebuild_params(); }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_, [] { return std::int64_t{1714521600}; }};
    FixedFontMetrics metrics_;
    bool saved_extended_ = false;
};

}  // namespace kvd::testing
