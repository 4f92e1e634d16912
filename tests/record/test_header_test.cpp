#include "record/test_header.h"

#include <gtest/gtest.h>

#include <cstring>

#include "record/file_fixtures.h"
#include "record/test_params.h"

namespace kvd {
namespace {

using namespace fixture;

// Where each field of a snapshot lands in the header: snapshot offset, header
// offset, size.
struct Mapping {
    std::size_t from;
    std::size_t to;
    std::size_t size;
};
constexpr Mapping kSnapshotFields[] = {
    {0, 894, 1},  {1, 895, 1},   {2, 906, 1},   {4, 896, 2},   {8, 900, 4},
    {12, 904, 2}, {16, 960, 20}, {36, 980, 1},  {37, 981, 1},  {38, 982, 2},
    {40, 984, 2}, {42, 986, 1},  {43, 992, 1},  {44, 994, 1},  {48, 988, 4},
    {52, 996, 4}, {56, 1000, 4}, {60, 1060, 4}, {64, 1080, 2}, {66, 1082, 1},
};

template <class T>
T from_bytes(const Bytes& bytes) {
    T value;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

TEST(TestHeader, ApplyingASnapshotCopiesEachFieldToItsHeaderOffset) {
    const Bytes snapshot_bytes = pattern(3, kSnapshotBytes);
    const Bytes header_bytes = pattern(200, kHeaderBytes);
    TestHeader header = from_bytes<TestHeader>(header_bytes);
    apply_snapshot(from_bytes<ReadingParams>(snapshot_bytes), header);

    Bytes expected = header_bytes;
    for (const Mapping& m : kSnapshotFields) {
        std::memcpy(expected.data() + m.to, snapshot_bytes.data() + m.from, m.size);
    }
    EXPECT_EQ(bytes_of(header), expected);

    // The inverse takes the same fields back; reserved bytes are zero.
    Bytes back(kSnapshotBytes, 0);
    for (const Mapping& m : kSnapshotFields) {
        std::memcpy(back.data() + m.from, snapshot_bytes.data() + m.from, m.size);
    }
    EXPECT_EQ(bytes_of(snapshot_from_header(header)), back);
}

TEST(TestHeader, NewRecordDefaults) {
    const TestHeader h = default_test_header(1'400'000'000);
    Image expected(kHeaderBytes);
    expected.i64(16, 1'400'000'000).u8(993, 1).u8(1006, 1).u8(1007, 5).i32(1060, 180);
    expected.u8(1076, 1).u16(1176, 50);
    for (std::size_t i = 16; i < 20; ++i) expected.i16(1100 + 2 * i, -1);
    EXPECT_EQ(bytes_of(h), expected.bytes());

    const TestParams p = TestParams::defaults(7);
    EXPECT_EQ(p.test_time, 7);
    EXPECT_EQ(p.plate_area, 1.0);
    EXPECT_EQ(p.replacement_ratio, 1.0);
    EXPECT_EQ(p.direction_kind, 1);
    EXPECT_EQ(p.load_intervals, (IntervalTable{0, 5, 10, 15, 15, 15, 30, 30, 30, 30, 30, 30}));
    EXPECT_EQ(p.unload_intervals,
              (IntervalTable{0, 15, 15, 30, 180, 180, 180, 180, 180, 180, 180, 180}));
    EXPECT_EQ(p.channel_role[0], ChannelRole::kTestPile);
    EXPECT_EQ(p.averaged[0], 1);
    for (std::size_t j = 1; j < 16; ++j) {
        EXPECT_EQ(p.channel_role[j], ChannelRole::kUnused);
        EXPECT_EQ(p.averaged[j], 0);
    }
}

TEST(TestHeader, ChannelRolesAndTheirInverse) {
    Image image(kHeaderBytes);
    image.u8(hdr::kInUse + 0, 1).u8(hdr::kTestPile + 0, 1);  // test pile
    image.u8(hdr::kInUse + 1, 1);                            // anchor pile
    image.u8(hdr::kTestPile + 2, 1);                         // not in use
    image.u8(hdr::kInUse + 3, 2).u8(hdr::kTestPile + 3, 1);  // only 1 means in use
    const TestHeader header = from_bytes<TestHeader>(image.bytes());
    const ChannelRoles roles = channel_roles_from_header(header);
    EXPECT_EQ(roles[0], ChannelRole::kTestPile);
    EXPECT_EQ(roles[1], ChannelRole::kAnchorPile);
    EXPECT_EQ(roles[2], ChannelRole::kUnused);
    EXPECT_EQ(roles[3], ChannelRole::kUnused);

    // Written back (old-format conversion): in use = role not 0, test pile = role 1.
    TestParams params = TestParams::from_header(header);
    TestHeader out = default_test_header(0);
    params.store_into(out);
    const std::uint8_t in_use[] = {1, 1, 0, 0};
    const std::uint8_t pile[] = {1, 0, 0, 0};
    for (std::size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(out.in_use[j], in_use[j]) << j;
        EXPECT_EQ(out.test_pile[j], pile[j]) << j;
    }
}

}  // namespace
}  // namespace kvd
