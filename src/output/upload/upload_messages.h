#pragma once
// The payloads of the three messages sent to the inspection station, built
// byte for byte from the test header and the raw readings:
//
//   type 1  verification (84 bytes: instrument, serial and pile numbers, test
//           time) + parameter block (612 bytes: method, grades, schedule,
//           reloading, jacks, channels, sensors), 696 bytes
//   type 2  one raw reading: 28-byte record header + 97-byte reading, 125 bytes
//   type 5  end: identifier and instrument number, 16 bytes
//
// Texts go on the wire as the GBK bytes of the header (the test method as
// UTF-16LE), zero-terminated and zero-filled; a text longer than its wire
// field is cut at a character boundary. Wider header numbers that go into
// narrower wire fields are clamped to the field's range.

#include <cstdint>
#include <string>

#include "base/byte_image.h"
#include "record/raw_reading.h"
#include "record/test_header.h"

namespace kvd::upload {

// Status labels of the messages.
inline constexpr char kVerificationLabel[] = "试验校验信息";
inline constexpr char kEndLabel[] = "结束信息";

// The largest number of raw readings whose record numbers, sequence values
// and counts all fit the 16-bit wire fields (records uploaded + 10 at most
// 65535) and the 16-bit progress field of the test file.
inline constexpr int kMaxUploadRecords = 65525;

Bytes verification_payload(const TestHeader& header);

// The record of raw reading `index` (the number of records uploaded before it).
Bytes record_payload(const TestHeader& header, const RawReading& reading, int index,
                     std::uint32_t identifier);

Bytes end_payload(const TestHeader& header, std::uint32_t identifier);

// The sequence value a record's reply echoes.
std::uint16_t record_sequence(int index);

// "加载 3-2": loading or unloading, the tester's grade number and the reading's
// number within the grade.
std::string record_label(const RawReading& reading);

// Mean of channels 1-12 that are in use on the test pile, to two decimals; 0
// when no channel qualifies.
float test_pile_mean(const TestHeader& header, const RawReading& reading);

// Minutes the reading lies into its grade: entries 1 ... index of the loading
// or unloading interval table, entries past 11 counting as entry 11.
std::uint16_t minutes_in_grade(const TestHeader& header, const RawReading& reading);

}  // namespace kvd::upload
