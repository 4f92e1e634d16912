#include "draw/wmf_canvas.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <initializer_list>
#include <map>

#include "base/file_io.h"
#include "draw/wmf_test_support.h"

namespace kvd {
namespace {

namespace fs = std::filesystem;
using test::parse_wmf;
using test::WmfFile;
using test::WmfRecord;

// Record functions, written out from the format's documentation rather than
// taken from the code under test.
constexpr std::uint16_t kEof = 0x0000;
constexpr std::uint16_t kSetBkMode = 0x0102;
constexpr std::uint16_t kSetMapMode = 0x0103;
constexpr std::uint16_t kSelectObject = 0x012D;
constexpr std::uint16_t kSetTextAlign = 0x012E;
constexpr std::uint16_t kDeleteObject = 0x01F0;
constexpr std::uint16_t kSetTextColor = 0x0209;
constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kLineTo = 0x0213;
constexpr std::uint16_t kMoveTo = 0x0214;
constexpr std::uint16_t kCreatePen = 0x02FA;
constexpr std::uint16_t kCreateFont = 0x02FB;
constexpr std::uint16_t kCreateBrush = 0x02FC;
constexpr std::uint16_t kPolygon = 0x0324;
constexpr std::uint16_t kPolyline = 0x0325;
constexpr std::uint16_t kEllipse = 0x0418;
constexpr std::uint16_t kRectangle = 0x041B;
constexpr std::uint16_t kExtTextOut = 0x0A32;

// Builds an expected file image by hand: words, then raw bytes.
class Image {
public:
    void word(int value) {
        const auto w = static_cast<std::uint16_t>(value);
        bytes_.push_back(static_cast<std::uint8_t>(w & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    void dword(std::uint32_t value) {
        word(static_cast<int>(value & 0xFFFF));
        word(static_cast<int>(value >> 16));
    }
    void record(std::uint16_t function, std::initializer_list<int> words,
                const std::string& raw = {}) {
        dword(static_cast<std::uint32_t>(3 + words.size() + raw.size() / 2));
        word(function);
        for (int w : words) word(w);
        bytes_.insert(bytes_.end(), raw.begin(), raw.end());
    }
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
};

TEST(WmfCanvasTest, SmallDrawingMatchesTheDocumentedLayoutByteForByte) {
    WmfCanvas canvas(Rect{0, 0, 100, -50});
    canvas.set_pen(Pen{PenStyle::kSolid, 2, rgb(255, 0, 0)});
    canvas.line({10, -10}, {90, -10});
    canvas.set_brush(Brush::solid(rgb(0, 255, 0)));
    const std::array<Point, 3> triangle = {Point{10, -20}, Point{30, -20}, Point{20, -40}};
    canvas.polygon(triangle);
    canvas.set_font(Font{"宋体", -20, 400, false, false, kCharsetGb2312});
    canvas.set_text_colour(rgb(0, 0, 160));
    canvas.draw_text(Rect{10, -40, 90, -50}, "曲线", kTextLeft | kTextNoClip);

    Image body;
    body.record(kSetMapMode, {8});                       // anisotropic
    body.record(kSetWindowOrg, {0, 0});                  // y, x
    body.record(kSetWindowExt, {50, 100});               // y, x: the picture, y down
    body.record(kSetBkMode, {1});                        // transparent
    body.record(kCreatePen, {0, 2, 0, 0x00FF, 0x0000});  // solid, width (2, 0), red
    body.record(kSelectObject, {0});
    body.record(kMoveTo, {10, 10});
    body.record(kLineTo, {10, 90});
    body.record(kCreateBrush, {0, 0xFF00, 0x0000, 0});  // solid green, no hatch
    body.record(kSelectObject, {1});
    body.record(kPolygon, {3, 10, 20, 30, 20, 20, 40});
    std::string face("\xCB\xCE\xCC\xE5", 4);  // 宋体 in GBK
    face.resize(32, '\0');
    // height, width, escapement, orientation, weight, italic|underline,
    // strike-out|charset, precisions, quality|pitch, then the face name.
    body.record(kCreateFont, {-20, 0, 0, 0, 400, 0x0000, 134 << 8, 0, 0}, face);
    body.record(kSelectObject, {2});
    body.record(kSetTextColor, {0x0000, 0x00A0});
    body.record(kSetTextAlign, {0});                                               // left, top
    body.record(kExtTextOut, {40, 10, 4, 0}, std::string("\xC7\xFA\xCF\xDF", 4));  // 曲线

    Image expected;
    expected.word(1);       // memory metafile
    expected.word(9);       // header words
    expected.word(0x0300);  // version
    expected.dword(static_cast<std::uint32_t>((18 + body.bytes().size()) / 2 + 3));
    expected.word(3);    // objects
    expected.dword(28);  // largest record: the font
    expected.word(0);
    Bytes whole = expected.bytes();
    whole.insert(whole.end(), body.bytes().begin(), body.bytes().end());
    Image eof;
    eof.record(kEof, {});
    whole.insert(whole.end(), eof.bytes().begin(), eof.bytes().end());

    EXPECT_EQ(canvas.bytes(), whole);
}

TEST(WmfCanvasTest, HeaderCountsTheFileAndTheLargestRecord) {
    WmfCanvas canvas(Rect{-100, 300, 1233, -1700});
    const WmfFile empty = parse_wmf(canvas.bytes());
    ASSERT_TRUE(empty.complete);
    EXPECT_EQ(empty.type, 1);
    EXPECT_EQ(empty.header_words, 9);
    EXPECT_EQ(empty.version, 0x0300);
    EXPECT_EQ(empty.size_words * 2, canvas.bytes().size());
    EXPECT_EQ(empty.objects, 0);
    EXPECT_EQ(empty.max_record_words, 5u);
    const WmfRecord& extent = empty.records[2];
    EXPECT_EQ(extent.function, kSetWindowExt);
    EXPECT_EQ(extent.i16(0), 2000);
    EXPECT_EQ(extent.i16(1), 1333);

    std::vector<Point> many;
    for (int i = 0; i < 40; ++i) many.push_back({i * 10, -i * 20});
    canvas.polyline(many);
    canvas.draw_text(Rect{0, 0, 500, -100}, "odd", kTextLeft);
    const Bytes bytes = canvas.bytes();
    const WmfFile file = parse_wmf(bytes);
    ASSERT_TRUE(file.complete);
    EXPECT_EQ(file.size_words * 2, bytes.size());
    std::uint32_t largest = 0;
    for (const WmfRecord& r : file.records) largest = std::max(largest, r.words);
    EXPECT_EQ(file.max_record_words, largest);
    EXPECT_EQ(largest, 3u + 1 + 80);  // the polyline: count and 40 points
    EXPECT_EQ(file.objects, 2);       // pen and font; text draws no brush
    // Odd text is padded to whole words; the length field keeps 3.
    const WmfRecord text = file.of(kExtTextOut).at(0);
    EXPECT_EQ(text.i16(2), 3);
    EXPECT_EQ(text.bytes_at(16, 4), std::string("odd\0", 4));
    // The points are y-down from the picture's top-left corner.
    const WmfRecord line = file.of(kPolyline).at(0);
    EXPECT_EQ(line.i16(0), 40);
    EXPECT_EQ(line.i16(1), 100);            // x 0 - left
    EXPECT_EQ(line.i16(2), 300);            // top - y 0
    EXPECT_EQ(line.i16(2 * 39 + 2), 1080);  // top - (-780)

    // A picture without width or height still has an extent.
    const WmfFile flat = parse_wmf(WmfCanvas(Rect{5, 5, 5, 5}).bytes());
    EXPECT_EQ(flat.records[2].i16(0), 1);
    EXPECT_EQ(flat.records[2].i16(1), 1);
}

// Replays the object records under the format's table rules and checks that
// every selection names a live object and no selected object is deleted.
struct TableCheck {
    int peak = 0;
    int alive = 0;
    std::vector<std::string> faults;

    explicit TableCheck(const WmfFile& file) {
        std::vector<int> kind_of;               // slot -> creating function, 0 when free
        std::map<std::uint16_t, int> selected;  // kind -> slot
        for (const WmfRecord& r : file.records) {
            if (r.function == kCreatePen || r.function == kCreateBrush ||
                r.function == kCreateFont) {
                auto free_slot = std::find(kind_of.begin(), kind_of.end(), 0);
                if (free_slot == kind_of.end()) free_slot = kind_of.insert(free_slot, 0);
                *free_slot = r.function;
            } else if (r.function == kSelectObject) {
                const int slot = r.i16(0);
                if (slot < 0 || slot >= static_cast<int>(kind_of.size()) || kind_of[slot] == 0) {
                    faults.push_back("select of a free slot");
                } else {
                    selected[static_cast<std::uint16_t>(kind_of[slot])] = slot;
                }
            } else if (r.function == kDeleteObject) {
                const int slot = r.i16(0);
                if (slot < 0 || slot >= static_cast<int>(kind_of.size()) || kind_of[slot] == 0) {
                    faults.push_back("delete of a free slot");
                    continue;
                }
                const auto kind = selected.find(static_cast<std::uint16_t>(kind_of[slot]));
                if (kind != selected.end() && kind->second == slot) {
                    faults.push_back("delete of a selected object");
                }
                kind_of[slot] = 0;
            }
            peak = std::max(peak, static_cast<int>(kind_of.size()));
        }
        alive = static_cast<int>(kind_of.size() - std::count(kind_of.begin(), kind_of.end(), 0));
    }
};

TEST(WmfCanvasTest, ObjectsAreReusedSoTheTableStaysSmall) {
    WmfCanvas canvas(Rect{0, 0, 1000, -1000});
    for (int i = 0; i < 50; ++i) {
        canvas.set_pen(Pen{static_cast<PenStyle>(i % 5), 1, rgb(i, 0, 0)});
        canvas.line({0, -i}, {100, -i});
        canvas.set_brush(i % 3 == 0 ? Brush{} : Brush::solid(rgb(0, i, 0)));
        canvas.ellipse(Rect{0, -i, 10, -i - 10});
        canvas.fill_rect(Rect{20, -i, 30, -i - 10}, rgb(0, 0, i));
        Font font;
        font.height = 20 + i;
        canvas.set_font(font);
        canvas.draw_text(Rect{0, -i, 100, -i - 30}, "x", kTextLeft);
    }
    const WmfFile file = parse_wmf(canvas.bytes());
    ASSERT_TRUE(file.complete);
    const TableCheck table(file);
    EXPECT_TRUE(table.faults.empty()) << table.faults.front();
    EXPECT_EQ(file.objects, table.peak);
    EXPECT_EQ(canvas.object_count(), table.peak);
    EXPECT_EQ(table.peak, 4);   // three selected, and one replacing its kind's
    EXPECT_EQ(table.alive, 3);  // one pen, one brush, one font selected
    EXPECT_GT(file.of(kCreatePen).size(), 50u);

    // Asking again for what is selected writes nothing.
    WmfCanvas same(Rect{0, 0, 100, -100});
    same.set_pen(Pen{PenStyle::kDot, 1, kBlack});
    same.line({0, 0}, {10, 0});
    same.set_pen(Pen{PenStyle::kDot, 1, kBlack});
    same.line({0, -5}, {10, -5});
    EXPECT_EQ(parse_wmf(same.bytes()).of(kCreatePen).size(), 1u);
}

TEST(WmfCanvasTest, PensBrushesAndFillsAreWrittenAsReadersDrawThem) {
    WmfCanvas canvas(Rect{0, 0, 100, -100});
    canvas.set_pen(Pen{PenStyle::kDash, 3, rgb(1, 2, 3)});  // too wide for dashes
    canvas.line({0, 0}, {1, 1});
    canvas.set_pen(Pen{PenStyle::kDashDotDot, 1, rgb(1, 2, 3)});
    canvas.line({0, 0}, {1, 1});
    canvas.set_pen(Pen{PenStyle::kNull, 7, rgb(9, 9, 9)});
    canvas.set_brush(Brush{});
    canvas.rectangle(Rect{10, -10, 20, -30});
    canvas.fill_rect(Rect{10, -10, 20, -30}, rgb(0, 0, 255));  // same null pen: no new pen
    canvas.set_pen(Pen{});
    canvas.line({0, 0}, {1, 1});

    const WmfFile file = parse_wmf(canvas.bytes());
    const auto pens = file.of(kCreatePen);
    ASSERT_EQ(pens.size(), 4u);
    EXPECT_EQ(pens[0].u16(0), 0);  // solid
    EXPECT_EQ(pens[0].i16(1), 3);
    EXPECT_EQ(pens[0].u32_at_word(3), 0x030201u);
    EXPECT_EQ(pens[1].u16(0), 4);  // dash-dot-dot kept at width 1
    EXPECT_EQ(pens[2].u16(0), 5);  // null
    EXPECT_EQ(pens[3].u16(0), 0);
    EXPECT_EQ(pens[3].i16(1), 1);
    const auto brushes = file.of(kCreateBrush);
    ASSERT_EQ(brushes.size(), 2u);
    EXPECT_EQ(brushes[0].u16(0), 1);  // hollow
    EXPECT_EQ(brushes[1].u16(0), 0);  // solid
    EXPECT_EQ(brushes[1].u32_at_word(1), 0xFF0000u);
    const auto rects = file.of(kRectangle);
    ASSERT_EQ(rects.size(), 2u);
    // bottom, right, top, left, y down
    EXPECT_EQ(rects[1].words_from(0, 4), (std::vector<int>{30, 20, 10, 10}));
}

TEST(WmfCanvasTest, TranslateAndRestoreMoveCoordinatesAndFarPointsAreClamped) {
    WmfCanvas canvas(Rect{0, 0, 1000, -1000});
    canvas.translate(100, -200);
    {
        CanvasState state(canvas);
        canvas.translate(10, -10);
        canvas.ellipse(Rect{0, 0, 50, -20});
    }
    canvas.line({0, 0}, {40000, -40000});
    canvas.restore();  // unbalanced: ignored
    canvas.line({0, 0}, {1, 0});

    const WmfFile file = parse_wmf(canvas.bytes());
    // bottom, right, top, left
    EXPECT_EQ(file.of(kEllipse).at(0).words_from(0, 4), (std::vector<int>{230, 160, 210, 110}));
    const auto moves = file.of(kMoveTo);
    const auto lines = file.of(kLineTo);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].i16(0), 200);
    EXPECT_EQ(moves[0].i16(1), 100);
    EXPECT_EQ(lines[0].i16(0), 32767);
    EXPECT_EQ(lines[0].i16(1), 32767);
    EXPECT_EQ(moves[1].i16(1), 100);
}

struct TextRecord {
    int x = 0;
    int y = 0;
    std::uint16_t options = 0;
    std::string bytes;
    std::uint16_t align = 0;  // the alignment in force
};

std::vector<TextRecord> texts_of(const WmfCanvas& canvas) {
    std::vector<TextRecord> texts;
    std::uint16_t align = 0;
    for (const WmfRecord& r : parse_wmf(canvas.bytes()).records) {
        if (r.function == kSetTextAlign) align = r.u16(0);
        if (r.function != kExtTextOut) continue;
        const std::size_t at = (r.u16(3) & 0x0006) ? 16 : 8;
        texts.push_back({r.i16(1), r.i16(0), r.u16(3), r.bytes_at(at, r.u16(2)), align});
    }
    return texts;
}

TEST(WmfCanvasTest, TextIsAnchoredByItsFlagsInTheBox) {
    // Font height 20: the fixed metrics give a line 23 high.
    const Rect box{100, -100, 300, -200};
    WmfCanvas canvas(Rect{0, 0, 1000, -1000});
    Font font;
    font.face = "Times New Roman";
    font.height = 20;
    font.charset = 0;
    canvas.set_font(font);
    canvas.draw_text(box, "top left", kTextLeft | kTextTop);
    canvas.draw_text(box, "centre", kTextCentre | kTextVCentre | kTextSingleLine);
    canvas.draw_text(box, "bottom right", kTextRight | kTextBottom | kTextSingleLine);
    canvas.draw_text(box, "one\n\nthree\r", kTextLeft | kTextNoClip);
    canvas.draw_text(box, "a\nb", kTextLeft | kTextBottom | kTextNoClip);
    canvas.draw_text(box, "x\ny", kTextSingleLine | kTextNoClip);

    const std::vector<TextRecord> texts = texts_of(canvas);
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[0].align, 0);  // left | top
    EXPECT_EQ(texts[0].x, 100);
    EXPECT_EQ(texts[0].y, 100);
    EXPECT_EQ(texts[0].options, 4);  // clipped to the box ...
    const WmfFile file = parse_wmf(canvas.bytes());
    // ... left, top, right, bottom
    EXPECT_EQ(file.of(kExtTextOut)[0].words_from(4, 4), (std::vector<int>{100, 100, 300, 200}));
    EXPECT_EQ(texts[1].align, 6);  // centre | top, the cell centred in the box
    EXPECT_EQ(texts[1].x, 200);
    EXPECT_EQ(texts[1].y, 150 - 23 / 2);
    EXPECT_EQ(texts[2].align, 2 | 8);  // right | bottom
    EXPECT_EQ(texts[2].x, 300);
    EXPECT_EQ(texts[2].y, 200);
    // Lines one line height apart; the empty one takes its place; no clip.
    EXPECT_EQ(texts[3].bytes, "one");
    EXPECT_EQ(texts[3].options, 0);
    EXPECT_EQ(texts[4].bytes, "three");
    EXPECT_EQ(texts[4].y, 100 + 2 * 23);
    // Bottom-aligned block: the last line's cell ends on the box.
    EXPECT_EQ(texts[5].y, 200 - 23);
    EXPECT_EQ(texts[6].y, 200);
    EXPECT_EQ(texts[7].bytes, "x y");
}

TEST(WmfCanvasTest, TextBytesAndFontsAreGbk) {
    WmfCanvas canvas(Rect{0, 0, 1000, -1000});
    Font latin;
    latin.face = "Times New Roman";
    latin.charset = 0;
    canvas.set_font(latin);
    canvas.draw_text(Rect{0, 0, 500, -50}, "Q-s", kTextLeft);
    canvas.draw_text(Rect{0, 0, 500, -50}, "δ(mm)", kTextLeft);
    Font long_face;
    long_face.face = std::string(30, 'A') + "宋体";  // 34 GBK bytes
    canvas.set_font(long_face);
    canvas.draw_text(Rect{0, 0, 500, -50}, "曲线", kTextLeft);

    const WmfFile file = parse_wmf(canvas.bytes());
    const auto fonts = file.of(kCreateFont);
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(fonts[0].params[13], 0);    // ASCII text keeps the font's character set
    EXPECT_EQ(fonts[1].params[13], 134);  // GBK text is only read right as GB2312
    EXPECT_EQ(fonts[1].bytes_at(18, 16), std::string("Times New Roman\0", 16));
    // The face is cut before the character that would not fit with its NUL.
    EXPECT_EQ(fonts[2].bytes_at(18, 32), std::string(30, 'A') + std::string(2, '\0'));
    const std::vector<TextRecord> texts = texts_of(canvas);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].bytes, std::string("\xA6\xC4(mm)", 6));
    EXPECT_EQ(texts[2].bytes, std::string("\xC7\xFA\xCF\xDF", 4));
}

TEST(WmfCanvasTest, WordBreakEllipsisAndOpaqueBackground) {
    // Height 20: ASCII letters 10 wide, Chinese characters 20 wide.
    WmfCanvas canvas(Rect{0, 0, 1000, -1000});
    Font font;
    font.height = 20;
    canvas.set_font(font);
    canvas.draw_text(Rect{0, 0, 90, -200}, "alpha beta gamma", kTextWordBreak | kTextNoClip);
    canvas.draw_text(Rect{0, 0, 60, -200}, "试验桩号一二", kTextWordBreak | kTextNoClip);
    canvas.draw_text(Rect{0, 0, 75, -200}, "abcdefghij", kTextEndEllipsis | kTextNoClip);
    canvas.set_background(true, rgb(239, 239, 239));
    canvas.draw_text(Rect{10, -10, 50, -30}, "x", kTextLeft);

    std::vector<std::string> lines;
    for (const TextRecord& t : texts_of(canvas)) lines.push_back(t.bytes);
    const std::vector<std::string> expected = {
        "alpha",   "beta", "gamma", "\xCA\xD4\xD1\xE9\xD7\xAE", "\xBA\xC5\xD2\xBB\xB6\xFE",
        "abcd...", "x"};
    EXPECT_EQ(lines, expected);

    // The box is filled with the background before its text, without outline.
    const WmfFile file = parse_wmf(canvas.bytes());
    const auto rects = file.of(kRectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].i16(0), 30);
    EXPECT_EQ(rects[0].i16(3), 10);
    EXPECT_EQ(file.of(kCreateBrush).back().u32_at_word(1), 0xEFEFEFu);
    EXPECT_EQ(file.of(kCreatePen).back().u16(0), 5);
    EXPECT_EQ(file.records[file.records.size() - 2].function, kExtTextOut);
}

TEST(WmfCanvasTest, WriteReplacesTheFileAndReportsFailure) {
    const fs::path dir = fs::temp_directory_path() / ("kvd_wmf_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    WmfCanvas canvas(Rect{0, 0, 100, -100});
    canvas.line({0, 0}, {100, -100});
    const fs::path path = dir / "T1_Qs.WMF";
    ASSERT_TRUE(canvas.write(path).ok());
    Bytes back;
    ASSERT_TRUE(read_whole_file(path, back).ok());
    EXPECT_EQ(back, canvas.bytes());

    const Status failed = canvas.write(dir / "missing" / "T1_Qs.WMF");
    EXPECT_FALSE(failed.ok());
    EXPECT_NE(failed.message().find("无法保存文件"), std::string::npos);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kvd
