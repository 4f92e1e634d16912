#pragma once
// The one binary format of test files (.PTX, .PTX2) and analysis files (.KVD,
// .KVD2): a 256-byte prefix with a format tag, a version real and a FileKind,
// then the layout of that kind, all at absolute offsets. Also the old
// "meyptx" test format, of which only the readings are known.
//
//   prefix    0  "VXRAC\0" + 00 00 18 95, 10 version (double), 18 kind (int32)
//   kind 2/3  256 TestHeader, 1896 N (int32), 1900 N x SamplePoint,
//             kind 3 then: modCount, R - 1, and per raw reading r:
//             RawReading, its ModificationBlock when status is 1, snapshot r
//   kind 1    256 unfinished flag, 260 modCount, 264 R - 1, 268 TestHeader,
//             1908 per raw reading as above

#include <cstddef>
#include <cstdint>

namespace kvd {

inline constexpr char kFormatTag[] = "VXRAC";
inline constexpr char kOldFormatTag[] = "meyptx";
inline constexpr std::uint8_t kPrefixTagBytes[10] = {'V', 'X', 'R', 'A', 'C', 0, 0, 0, 0x18, 0x95};
inline constexpr std::size_t kTagProbeBytes = 10;

inline constexpr std::size_t kVersionOffset = 10;
inline constexpr std::size_t kKindOffset = 18;
inline constexpr std::size_t kPrefixSize = 256;

// Versions written, and the highest accepted on opening.
inline constexpr double kTestFileVersion = 2013.1016;
inline constexpr double kAnalysisFileVersion = 2013.0917;
// Files of this version and older use the legacy record images.
inline constexpr double kLastLegacyVersion = 2013.0826;
// From this version on a test file may be uploaded to the inspection station.
inline constexpr double kFirstUploadableVersion = 2013.0926;

inline constexpr std::size_t kAnalysisHeaderOffset = 256;
inline constexpr std::size_t kSamplePointCountOffset = 1896;
inline constexpr std::size_t kSamplePointsOffset = 1900;

inline constexpr std::size_t kUnfinishedFlagOffset = 256;
inline constexpr std::size_t kTestModCountOffset = 260;
inline constexpr std::size_t kTestLastReadingOffset = 264;
inline constexpr std::size_t kTestHeaderOffset = 268;
inline constexpr std::size_t kTestReadingsOffset = 1908;

// The prefix that tells what a file is: tag, version, kind, unfinished flag.
inline constexpr std::size_t kClassifyBytes = kUnfinishedFlagOffset + 4;

// Old "meyptx" test format.
inline constexpr std::size_t kOldHeaderSize = 1428;
inline constexpr std::size_t kOldReadingCountOffset = 398;
inline constexpr std::size_t kOldReadingSize = 84;

}  // namespace kvd
