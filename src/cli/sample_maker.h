#pragma once
// Realistic field-tester test files for the demo samples, the tests and the
// benchmarks. A sample is what the tester writes for a slow maintained-load
// test: the header as the tester fills it, one raw reading per scheduled
// observation (grade by grade, until the settlement is stable), the control
// parameters in force at each reading, and the log of readings changed on
// site. Everything derives from the seed alone (own generator, no library
// distributions), so a seed always gives the same bytes.

#include <cstdint>

#include "base/byte_image.h"
#include "base/status.h"
#include "record/test_record.h"

namespace kvd {

enum class SampleType {
    kCompression,  // pile, vertical compression, JGJ106-2014, loading and unloading
    kUplift,       // pile, vertical uplift, JGJ106-2014
    kPlate,        // shallow plate load test on a foundation, loads in kPa, GB50007-2011
    kUnfinished,   // compression test stopped while loading; the file says it is unfinished
};

struct SampleOptions {
    SampleType type = SampleType::kCompression;
    std::uint64_t seed = 1;
    // 0 (or less) = the natural size of the test; N > 0 scales the test (more
    // grades, longer holds, or a test cut short) to exactly N raw readings.
    int readings = 0;
};

// Largest reading count a sample is made with (about 500 MB of file).
inline constexpr int kMaxSampleReadings = 2'000'000;

// The record as a test file read from disk holds it: header, raw readings,
// snapshots and modification log, with the parameter blocks and the grades
// built from the raw readings. save_kind = opened_kind = FileKind::kTestFile.
// A reading count above kMaxSampleReadings is taken as kMaxSampleReadings.
TestRecord make_sample_record(const SampleOptions& options);

// The test file image of make_sample_record; for kUnfinished its unfinished
// flag is set, as the tester leaves it while still recording. Fails for a
// reading count above kMaxSampleReadings.
Status make_sample_file(const SampleOptions& options, Bytes& out);

}  // namespace kvd
