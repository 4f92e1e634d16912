#pragma once
// What the upload tests share: test files in a temporary folder (laid out
// from the file layout, with the upload fields as a test wants them), the
// record's copy the worker uploads, an observer that keeps what the worker
// reported, and a station simulator on 127.0.0.1.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "output/upload/station_simulator.h"
#include "output/upload/upload_worker.h"
#include "record/file_fixtures.h"

namespace kvd::upload::testing {

// Progress field offsets of a test file (kind 1) and of a kind-3 file.
inline constexpr std::size_t kTestFileIdentifierAt = 1340;
inline constexpr std::size_t kTestFileCountAt = 1444;
inline constexpr std::size_t kAnalysisIdentifierAt = 1328;
inline constexpr std::size_t kAnalysisCountAt = 1432;

// A test file of kind 1, version 2013.1016, with `readings` raw readings
// (two per grade) and the given upload fields.
Bytes small_test_file(int readings, std::uint32_t identifier = 0, std::uint16_t count = 50);
// The same readings in a kind-3 file.
Bytes small_analysis_file(int readings, std::uint32_t identifier, std::uint16_t count);

std::uint32_t stored_identifier(const Bytes& file, std::size_t at = kTestFileIdentifierAt);
std::uint16_t stored_count(const Bytes& file, std::size_t at = kTestFileCountAt);

// The file's record as the document has it after opening it.
UploadSource source_of(const std::string& path);

class RecordingObserver : public UploadObserver {
public:
    void on_status(const std::string& text) override;
    void on_progress(std::uint32_t identifier, int uploaded) override;
    std::vector<std::string> statuses() const;
    std::vector<std::pair<std::uint32_t, int>> progress() const;
    bool saw(const std::string& status) const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> statuses_;
    std::vector<std::pair<std::uint32_t, int>> progress_;
};

// Time-outs for tests: replies come from the same machine at once, so the
// waits are generous where no time-out is expected and the pauses short.
UploadTimings test_timings();

class UploadTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const;
    Bytes read(const std::string& name) const;
    UploadOptions options() const;
    // Uploads the file to the simulator.
    UploadOutcome upload(const std::string& name, const UploadTimings& timings = test_timings());
    // Types and record numbers the station received, as "1", "2:3", "5".
    std::vector<std::string> received_sequence() const;

    std::filesystem::path dir_;
    StationSimulator station_;
    RecordingObserver observer_;
    CancelToken token_;
};

// Record numbers 1 ... n.
std::vector<int> records_up_to(int n);

}  // namespace kvd::upload::testing
