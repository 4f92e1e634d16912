// The memory an open takes: `kvdtool totals` on a test file of 100,000
// readings may raise the program's resident memory by at most twice the
// file's size. The record it builds is about 1.6 times the file; a second
// whole copy of the file's bytes held while reading would push it past 2.6.
//
// The command runs in a forked child of this test (the same code as the
// kvdtool program, whose libraries are then already loaded), so the rise is
// measured from the child's own start: its peak (ru_maxrss) less what it had
// resident before the command. An exec'd kvdtool would not do: the peak of a
// child includes what it inherited from this larger process before the exec.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/file_io.h"
#include "cli/commands.h"
#include "cli/sample_maker.h"

namespace kvd {
namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

double resident_bytes() {
    std::ifstream statm("/proc/self/statm");
    double total = 0, resident = 0;
    statm >> total >> resident;
    return resident * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

// How far `kvdtool totals file` raises resident memory, in bytes; -1 when
// the command failed.
double rise_of_totals(const fs::path& file) {
    // Free heap pages go back to the system first, so that the child's
    // allocations are fresh pages and show in its resident memory.
    ::malloc_trim(0);
    int channel[2];
    if (::pipe(channel) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const int null = ::open("/dev/null", O_WRONLY);
        std::fflush(stdout);
        ::dup2(null, STDOUT_FILENO);
        const double before = resident_bytes();
        double rise = -1;
        if (cli::run_totals({file.string()}) == 0) {
            rusage usage{};
            ::getrusage(RUSAGE_SELF, &usage);
            rise = static_cast<double>(usage.ru_maxrss) * 1024.0 - before;  // KiB
        }
        const bool sent = ::write(channel[1], &rise, sizeof rise) == sizeof rise;
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    double rise = -1;
    if (child > 0) {
        if (::read(channel[0], &rise, sizeof rise) != sizeof rise) rise = -1;
        ::waitpid(child, nullptr, 0);
    }
    ::close(channel[0]);
    return rise;
}

TEST(OpenMemoryTest, OpeningALargeTestFileTakesAtMostTwiceItsSize) {
    if (kSanitized) GTEST_SKIP() << "the sanitizers' own memory hides the program's";
    const fs::path dir =
        fs::temp_directory_path() / ("kvd_open_memory_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path path = dir / "big.PTX";
    double size = 0;
    {
        SampleOptions options;
        options.readings = 100000;
        Bytes big;
        ASSERT_TRUE(make_sample_file(options, big).ok());
        ASSERT_TRUE(replace_file_atomically(path, big).ok());
        size = static_cast<double>(big.size());
    }
    const double rise = rise_of_totals(path);
    fs::remove_all(dir);
    ASSERT_GT(rise, 0) << "kvdtool totals failed";
    std::printf("file %.1f MB; kvdtool totals raised resident memory by %.1f MB (%.2fx)\n",
                size / 1e6, rise / 1e6, rise / size);
    EXPECT_LE(rise, 2 * size);
}

}  // namespace
}  // namespace kvd
