#pragma once
// The engineer's accepted interpretation of a test: the rule whose value was
// accepted (a RuleId of the analysis layer, kept here as its number; 1000 for
// a typed value), the value, and a fingerprint of the readings it was taken
// on, so that a later edit of the readings shows the choice as made on other
// data. It is part of the analysis file, so its byte image lives with the
// file formats; analysis/choice_of_rule.h makes one from a rule's result.
//
// Its byte image is a self-contained trailing block of an analysis file,
// written after the last byte of the current layout (after the sample points
// of kind 2, after the last ReadingParams of kind 3). Readers of the layout
// address the file at absolute offsets and stop at the counts they read, so
// they never see it; a writer that does not know it drops it, which loses the
// choice but never leaves a stale one behind. The header's reserved bytes
// were not taken: they travel into test files on conversion and are kept
// unchanged by any program that edits the readings.
//
// Block layout (little-endian, kChoiceBlockSize bytes):
//   0  char[4]   tag "KVDQ"
//   4  uint16    layout version, 1
//   6  uint16    block size, 96
//   8  uint16    RuleId
//  10  uint8     flags: bit 0 the value is a lower bound ("≥")
//  11  uint8     reserved, 0
//  12  uint32    data fingerprint (TestAnalysis::data_fingerprint)
//  16  double    value, kN or kPa
//  24  int64     time of the choice, seconds since 1970 UTC
//  32  char[60]  note, GBK, NUL-terminated
//  92  uint32    CRC-32 of bytes 0-91

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/byte_image.h"
#include "base/status.h"

namespace kvd {

struct EngineerChoice {
    std::uint16_t rule = 0;  // RuleId
    double value = 0;
    bool at_least = false;
    std::uint32_t data_fingerprint = 0;
    std::int64_t chosen_at = 0;
    std::string note;  // UTF-8; stored as at most 59 GBK bytes

    bool operator==(const EngineerChoice&) const = default;
};

struct ChoiceBlock {
    char tag[4];
    std::uint16_t version;
    std::uint16_t size;
    std::uint16_t rule;
    std::uint8_t flags;
    std::uint8_t reserved;
    std::uint32_t fingerprint;
    double value;
    std::int64_t chosen_at;
    char note[60];
    std::uint32_t crc;
};

static_assert(offsetof(ChoiceBlock, tag) == 0);
static_assert(offsetof(ChoiceBlock, version) == 4);
static_assert(offsetof(ChoiceBlock, size) == 6);
static_assert(offsetof(ChoiceBlock, rule) == 8);
static_assert(offsetof(ChoiceBlock, flags) == 10);
static_assert(offsetof(ChoiceBlock, fingerprint) == 12);
static_assert(offsetof(ChoiceBlock, value) == 16);
static_assert(offsetof(ChoiceBlock, chosen_at) == 24);
static_assert(offsetof(ChoiceBlock, note) == 32);
static_assert(offsetof(ChoiceBlock, crc) == 92);
static_assert(sizeof(ChoiceBlock) == 96);

inline constexpr std::size_t kChoiceBlockSize = sizeof(ChoiceBlock);
inline constexpr char kChoiceTag[4] = {'K', 'V', 'D', 'Q'};
inline constexpr std::uint16_t kChoiceVersion = 1;
inline constexpr std::uint8_t kChoiceAtLeast = 0x01;

Bytes encode_choice(const EngineerChoice& choice);

// Refuses a block whose tag, version, size or checksum is wrong, or whose
// value is not a finite number; the choice is then left unchanged.
Status decode_choice(ByteView block, EngineerChoice& choice);

// The choice in the last kChoiceBlockSize bytes of a file, when they are a
// valid block; nothing otherwise (older files, damaged blocks).
std::optional<EngineerChoice> trailing_choice(ByteView file);

inline constexpr char kMessageChoiceDamaged[] = "承载力判定的选择已损坏，已忽略。";

}  // namespace kvd
