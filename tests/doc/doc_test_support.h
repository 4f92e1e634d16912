#pragma once
// Shared fixtures of the document tests: a temporary folder, small test
// records and a view that records the hints it receives.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/byte_image.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"

namespace kvd::testing {

inline constexpr std::int64_t kFixedNow = 1700000000;

// A field-tester record: two loading grades (0 and 100 kN) of three readings,
// one unloading grade, channels 1-2 on the test pile and averaged, channel 3
// on an anchor pile. Reading 4 is marked modified and owns one block.
TestRecord make_test_file_record();

// The bytes of a record written in the layout of kind, with version and
// unfinished flag patched as given (0 keeps what the writer wrote).
Bytes file_bytes(const TestRecord& record, FileKind kind, double version = 0, int unfinished = 0);

class RecordingView : public DocView {
public:
    void on_update(int hint) override { hints.push_back(hint); }
    std::vector<int> hints;
};

class DocTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const Bytes& bytes) const;
    Bytes read(const std::string& name) const;
    bool exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }

    std::filesystem::path dir_;
    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_, [] { return kFixedNow; }};
    RecordingView view_;
};

}  // namespace kvd::testing
