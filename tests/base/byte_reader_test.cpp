// ByteReader over bytes in memory and piecewise over a source: the two must
// give the same bytes and the same answers for any sequence of reads, seeks
// and skips, wherever the buffer boundaries fall, and a source that ends
// early must never be read past.

#include "base/byte_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace kvd {
namespace {

Bytes numbered_bytes(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

TEST(ByteReaderTest, PiecewiseReadingAgreesWithReadingInMemory) {
    const Bytes data = numbered_bytes(5000);
    for (std::size_t buffer_bytes : {1u, 2u, 7u, 64u, 999u, 8192u}) {
        SCOPED_TRACE("buffer " + std::to_string(buffer_bytes));
        ByteViewSource source(data);
        ByteReader piecewise(source, buffer_bytes);
        ByteReader whole{ByteView(data)};
        std::mt19937 random(static_cast<unsigned>(buffer_bytes));
        for (int step = 0; step < 3000; ++step) {
            const auto choice = random() % 10;
            if (choice == 0) {
                // Anywhere, including exactly at and beyond the end.
                const std::size_t to = random() % (data.size() + 20);
                ASSERT_EQ(piecewise.seek(to), whole.seek(to));
            } else if (choice == 1) {
                const std::size_t count = random() % 300;
                ASSERT_EQ(piecewise.skip(count), whole.skip(count));
            } else {
                // Short reads, reads across many buffers, reads past the end.
                const std::size_t count = choice == 2 ? random() % 3000 : random() % 200;
                Bytes a(count, 0xee), b(count, 0xee);
                ASSERT_EQ(piecewise.read_bytes(a.data(), count), whole.read_bytes(b.data(), count));
                ASSERT_EQ(a, b) << "step " << step;
            }
            ASSERT_EQ(piecewise.offset(), whole.offset());
            ASSERT_EQ(piecewise.remaining(), whole.remaining());
        }
        EXPECT_FALSE(piecewise.cut_short());
    }
}

TEST(ByteReaderTest, ReadsValuesAndRefusesWhatIsNotThere) {
    const Bytes data = {1, 0, 0, 0, 2, 0};
    ByteViewSource source(data);
    ByteReader in(source, 3);
    std::int32_t value = -1;
    ASSERT_TRUE(in.read(value));
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(in.read(value));  // only two bytes left
    EXPECT_EQ(value, 1);
    EXPECT_EQ(in.offset(), 4u);
    std::int16_t last = 0;
    ASSERT_TRUE(in.read(last));
    EXPECT_EQ(last, 2);
    EXPECT_EQ(in.remaining(), 0u);
}

// A source that promises more than it holds, as a file cut short after it
// was opened.
class ShortSource : public ByteSource {
public:
    ShortSource(ByteView data, std::size_t promised) : data_(data), promised_(promised) {}
    std::size_t size() const override { return promised_; }
    std::size_t read_at(std::size_t offset, void* out, std::size_t count) override {
        return ByteViewSource(data_).read_at(offset, out, count);
    }

private:
    ByteView data_;
    std::size_t promised_;
};

TEST(ByteReaderTest, SourceEndingEarlyShrinksTheReaderAndKeepsItsPosition) {
    const Bytes data = numbered_bytes(1000);
    for (std::size_t buffer_bytes : {1u, 100u, 4096u}) {
        SCOPED_TRACE("buffer " + std::to_string(buffer_bytes));
        ShortSource source(data, 5000);
        ByteReader in(source, buffer_bytes);
        EXPECT_EQ(in.size(), 5000u);
        Bytes got(990);
        ASSERT_TRUE(in.read_bytes(got.data(), got.size()));
        EXPECT_TRUE(std::equal(got.begin(), got.end(), data.begin()));
        Bytes more(20);
        EXPECT_FALSE(in.read_bytes(more.data(), more.size()));
        EXPECT_TRUE(in.cut_short());
        EXPECT_EQ(in.offset(), 990u);
        EXPECT_EQ(in.size(), 1000u);
        ASSERT_TRUE(in.read_bytes(more.data(), 10));  // the ten bytes that are there
        EXPECT_EQ(more[9], data[999]);
        EXPECT_FALSE(in.seek(1001));
    }
}

TEST(ByteReaderTest, HeadOfASource) {
    const Bytes data = numbered_bytes(10);
    ByteViewSource source(data);
    EXPECT_EQ(read_head(source, 4), Bytes(data.begin(), data.begin() + 4));
    EXPECT_EQ(read_head(source, 100), data);
    ShortSource cut(data, 50);
    EXPECT_EQ(read_head(cut, 40), data);
}

}  // namespace
}  // namespace kvd
