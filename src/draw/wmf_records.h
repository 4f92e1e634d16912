#pragma once
// Windows metafile (WMF) records: the numbers of the format and a writer that
// collects records and puts the 18-byte header in front of them.
//
// A metafile is a header followed by records. Every record starts with its
// size in 16-bit words (u32, the 3 words of size and function included) and
// its function (u16); the parameters follow as 16-bit words, all little-endian.
// Coordinates are signed 16-bit. Objects (pens, brushes, fonts) live in a
// table: a creation record puts the object into the lowest free slot, and
// select and delete records name the slot.
//
// The file is a plain metafile, without the 22-byte "placeable" header that
// some programs put in front: the picture's size is given by the window
// extent records at its start.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/byte_image.h"

namespace kvd::wmf {

// Record functions.
inline constexpr std::uint16_t kEof = 0x0000;
inline constexpr std::uint16_t kSetBkMode = 0x0102;
inline constexpr std::uint16_t kSetMapMode = 0x0103;
inline constexpr std::uint16_t kSetTextAlign = 0x012E;
inline constexpr std::uint16_t kSelectObject = 0x012D;
inline constexpr std::uint16_t kDeleteObject = 0x01F0;
inline constexpr std::uint16_t kSetTextColor = 0x0209;
inline constexpr std::uint16_t kSetWindowOrg = 0x020B;
inline constexpr std::uint16_t kSetWindowExt = 0x020C;
inline constexpr std::uint16_t kLineTo = 0x0213;
inline constexpr std::uint16_t kMoveTo = 0x0214;
inline constexpr std::uint16_t kCreatePenIndirect = 0x02FA;
inline constexpr std::uint16_t kCreateFontIndirect = 0x02FB;
inline constexpr std::uint16_t kCreateBrushIndirect = 0x02FC;
inline constexpr std::uint16_t kPolygon = 0x0324;
inline constexpr std::uint16_t kPolyline = 0x0325;
inline constexpr std::uint16_t kEllipse = 0x0418;
inline constexpr std::uint16_t kRectangle = 0x041B;
inline constexpr std::uint16_t kExtTextOut = 0x0A32;

// Header (18 bytes): type u16 @0, header size in words u16 @2, version u16 @4,
// file size in words u32 @6, number of objects u16 @10, largest record in
// words u32 @12, unused u16 @16.
inline constexpr std::size_t kHeaderBytes = 18;
inline constexpr std::uint16_t kMemoryMetafile = 1;
inline constexpr std::uint16_t kHeaderWords = 9;
inline constexpr std::uint16_t kVersion300 = 0x0300;
// Size and function of a record, before its parameters.
inline constexpr std::uint32_t kRecordHeadWords = 3;

// Map mode: logical units scaled independently in x and y to the window.
inline constexpr std::uint16_t kMapAnisotropic = 8;
// Background mode of text.
inline constexpr std::uint16_t kTransparent = 1;
// Pen styles 0 to 4 as the Canvas numbers them; 5 is the null pen.
inline constexpr std::uint16_t kPenNull = 5;
// Brush styles.
inline constexpr std::uint16_t kBrushSolid = 0;
inline constexpr std::uint16_t kBrushNull = 1;
// Text alignment: horizontal and vertical parts are or-ed.
inline constexpr std::uint16_t kAlignLeft = 0x0000;
inline constexpr std::uint16_t kAlignRight = 0x0002;
inline constexpr std::uint16_t kAlignCenter = 0x0006;
inline constexpr std::uint16_t kAlignTop = 0x0000;
inline constexpr std::uint16_t kAlignBottom = 0x0008;
// ExtTextOut options: a clip rectangle follows the string's position.
inline constexpr std::uint16_t kTextClipped = 0x0004;
// Face name field of a font record, NUL included.
inline constexpr std::size_t kFaceNameBytes = 32;

inline constexpr int kMinCoordinate = -32768;
inline constexpr int kMaxCoordinate = 32767;

// A coordinate or size clamped to the signed 16-bit range of the records.
std::int16_t clamp16(int value);

// Parameters of one record, appended in order.
class Params {
public:
    Params& i16(int value);  // clamped to the 16-bit range
    Params& u16(std::uint16_t value);
    Params& u32(std::uint32_t value);
    Params& u8(std::uint8_t value);
    // Bytes as they are; a zero byte is added when their number is odd, as
    // records are whole words.
    Params& bytes_padded(std::string_view bytes);
    // Exactly `size` bytes: `bytes` cut or padded with zero bytes.
    Params& fixed_bytes(std::string_view bytes, std::size_t size);

    const Bytes& data() const { return data_; }

private:
    Bytes data_;
};

// Collects records; bytes() gives the whole file.
class RecordWriter {
public:
    // Appends a record. Parameters of an odd number of bytes get a zero byte.
    void add(std::uint16_t function, const Params& params = Params());

    // Header, records and the end record. `object_count` is the size of the
    // object table the records need (the highest slot used plus one).
    Bytes bytes(int object_count) const;

    // Number of records added so far (the end record not counted).
    std::size_t record_count() const { return record_count_; }

private:
    Bytes body_;
    std::uint32_t max_record_words_ = kRecordHeadWords;  // the end record
    std::size_t record_count_ = 0;
};

// The object table as the reader will keep it: creation takes the lowest free
// slot, deletion frees it.
class ObjectTable {
public:
    int create();
    void remove(int slot);
    // Slots the table has needed so far.
    int peak() const { return static_cast<int>(used_.size()); }
    // Objects alive now.
    int alive() const;

private:
    std::vector<bool> used_;
};

}  // namespace kvd::wmf
