// The word object model driven by call sequences: where the cursor goes,
// what merging, splitting, breaks and formatting make of the document, and
// the document the XML then holds.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "draw/wmf_canvas.h"
#include "output/word/docx_writer.h"
#include "output/word/word_objects.h"
#include "word_test_support.h"

namespace kvd::word {
namespace {

using namespace testing;
constexpr int kChar = kUnitCharacter;
constexpr int kLine = kUnitLine;

struct Session {
    Application app;
    Document* doc = nullptr;
    std::optional<Selection> selection;
    Session() {
        app.set_logging(true);
        doc = app.documents().add("", false, 0);
        selection = app.selection();
    }
    Table add_table(int rows, int columns) {
        auto table = doc->tables().add(selection->range(), rows, columns, 1, 0);
        EXPECT_TRUE(table);
        return *table;
    }
    const content::WordDocument& content() const { return doc->content(); }
};

// The summary table's header, built with the cursor as the report does.
TEST(WordCursor, SummaryHeaderBuiltWithTheCursorMergesAndRepeats) {
    Session s;
    Selection& sel = *s.selection;
    s.add_table(4, 6);
    sel.move_right(kChar, 6, kExtend);
    sel.move_down(kLine, 1, kExtend);
    ASSERT_TRUE(sel.rows().set_heading_format(kTrue));
    EXPECT_EQ(sel.move_left(kChar, 1), 1);  // collapses to the first cell
    for (int pair = 0; pair < 2; ++pair) {
        sel.move_down(kLine, 1, kExtend);
        ASSERT_TRUE(sel.cells().merge());
        sel.move_right(kChar, 1);
    }
    sel.move_right(kChar, 2, kExtend);
    ASSERT_TRUE(sel.cells().merge());
    sel.move_right(kChar, 1);
    sel.move_right(kChar, 2, kExtend);
    ASSERT_TRUE(sel.cells().merge());
    sel.type_text("沉降(mm)");
    sel.move_down(kLine, 1);
    sel.type_text("累 计");
    sel.move_left(kChar, 4);
    sel.type_text("本 级");
    sel.move_left(kChar, 4);
    sel.type_text("累 计");
    sel.move_left(kChar, 4);
    sel.type_text("本 级");
    sel.move_up(kLine, 1);
    sel.type_text("历 时(min)");
    sel.move_left(kChar, 9);
    sel.type_text("荷 载\n(kN)");
    sel.move_left(kChar, 9);
    sel.type_text("序 号");
    sel.move_down(kLine, 1);
    sel.type_text("0");  // the first body row, first cell

    const content::Table& t = table_at(s.content(), 0);
    ASSERT_EQ(t.rows[0].cells.size(), 4u);
    EXPECT_EQ(cell_text(t, 0, 0), "序 号");
    EXPECT_EQ(cell_text(t, 0, 1), "荷 载\n(kN)");
    EXPECT_EQ(cell_text(t, 0, 2), "历 时(min)");
    EXPECT_EQ(cell_text(t, 0, 3), "沉降(mm)");
    ASSERT_EQ(t.rows[1].cells.size(), 6u);
    EXPECT_EQ(t.rows[1].cells[0].merge, content::VerticalMerge::kContinue);
    EXPECT_EQ(t.rows[1].cells[1].merge, content::VerticalMerge::kContinue);
    EXPECT_EQ(cell_text(t, 1, 2), "本 级");
    EXPECT_EQ(cell_text(t, 1, 3), "累 计");
    EXPECT_EQ(cell_text(t, 1, 4), "本 级");
    EXPECT_EQ(cell_text(t, 1, 5), "累 计");
    EXPECT_EQ(cell_text(t, 2, 0), "0");
    EXPECT_TRUE(t.rows[0].heading && t.rows[1].heading && !t.rows[2].heading);
    EXPECT_EQ(t.rows[0].cells[2].width, t.rows[1].cells[2].width + t.rows[1].cells[3].width);

    const std::string xml = document_xml(s.content());
    EXPECT_EQ(xpath_count(xml, "//w:tbl/w:tblGrid/w:gridCol"), 6);
    EXPECT_EQ(xpath_count(xml, "//w:tr[1]/w:tc/w:tcPr/w:gridSpan[@w:val='2']"), 2);
    EXPECT_EQ(xpath_count(xml, "//w:tr[1]/w:tc/w:tcPr/w:vMerge[@w:val='restart']"), 2);
    EXPECT_EQ(xpath_count(xml, "//w:tr[2]/w:tc/w:tcPr/w:vMerge[not(@w:val)]"), 2);
    EXPECT_EQ(xpath_count(xml, "//w:tr/w:trPr/w:tblHeader"), 2);
    EXPECT_EQ(xpath_count(xml, "//w:tr[1]/w:tc[2]//w:br"), 1);  // the line break of 荷载
    EXPECT_EQ(s.app.calls()[5], "Selection.MoveRight(1, 6, 1)");
}

TEST(WordCursor, CharacterMovesRunThroughCellsAndOutOfTheTable) {
    Session s;
    Selection& sel = *s.selection;
    sel.type_text("前");
    sel.type_paragraph();
    s.add_table(2, 2);
    for (const char* text : {"a", "bb", "c", "dd"}) {
        sel.type_text(text);
        EXPECT_EQ(sel.move_right(kChar, 1), 1);
    }
    // Out of the last cell into the paragraph after the table.
    EXPECT_FALSE(s.doc->cursor().active().in_table());
    sel.type_text("后");
    // Left from the start of a cell ends in the previous cell's text.
    sel.move_left(kChar, 2);  // into the last cell, after "dd"
    sel.move_left(kChar, 3);  // before "dd", then after "c"
    sel.type_text("!");
    const content::Table& t = table_at(s.content(), 1);
    EXPECT_EQ(cell_text(t, 1, 0), "c!");
    // At the document's start nothing is left to move over.
    EXPECT_EQ(sel.move_up(kLine, 100), 2);  // cell above, then the first paragraph
    EXPECT_EQ(sel.move_left(kChar, 5), 1);
    EXPECT_EQ(std::get<content::Paragraph>(s.content().body[2]).text(), "后");
    EXPECT_FALSE(sel.move_up(kChar, 1));  // only lines move up and down
}

TEST(WordCursor, SplitCellsMakeRowsAndTheGridFollows) {
    Session s;
    Table table = s.add_table(3, 1);
    ASSERT_TRUE(table.cell(2, 1)->split(1, 3));
    ASSERT_TRUE(table.cell(3, 1)->split(2, 4));
    EXPECT_FALSE(table.cell(5, 1));  // four rows now
    const content::Table& t = table_at(s.content(), 0);
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_EQ(t.rows[1].cells.size(), 3u);
    EXPECT_EQ(t.rows[2].cells.size(), 4u);
    EXPECT_EQ(t.rows[3].cells.size(), 4u);
    int width = 0;
    for (const auto& c : t.rows[1].cells) width += c.width;
    EXPECT_EQ(width, t.rows[0].cells[0].width);
    // Texts typed cell by cell land one per cell, row after row.
    Selection& sel = *s.selection;
    for (int i = 0; i < 12; ++i) {
        sel.type_text(std::to_string(i));
        sel.move_right(kChar, 1);
    }
    EXPECT_EQ(cell_text(t, 3, 3), "11");
    const std::string xml = document_xml(s.content());
    // 3 and 4 columns share only the outer edges: 3 + 4 - 1 grid columns.
    EXPECT_EQ(xpath_count(xml, "//w:gridCol"), 6);
    EXPECT_EQ(xpath_count(xml, "//w:tr[1]/w:tc/w:tcPr/w:gridSpan[@w:val='6']"), 1);
}

TEST(WordCursor, BreaksFormattingAndStyles) {
    Session s;
    Selection& sel = *s.selection;
    ASSERT_TRUE(sel.font().set_size(18));
    ASSERT_TRUE(sel.font().set_bold(kToggle));
    ASSERT_TRUE(sel.paragraph_format().set_alignment(1));
    sel.type_text("标题 & <汇总>\x01");
    sel.type_paragraph();
    ASSERT_TRUE(sel.font().set_bold(kToggle));
    Table table = s.add_table(1, 2);
    EXPECT_EQ(table.style(), std::optional<std::string>(content::kPlainTableStyle));
    EXPECT_FALSE(table.set_style("不存在的样式"));
    ASSERT_TRUE(table.set_style(content::kGridTableStyle));
    ASSERT_TRUE(table.set_style_option(dispid::kLookLastRow, 1));
    // A page break asked for inside a table goes after it.
    ASSERT_TRUE(sel.insert_break(kPageBreak));
    EXPECT_FALSE(sel.insert_break(6));
    sel.type_text("下一页");

    const std::string xml = document_xml(s.content());
    ASSERT_GT(xpath_count(xml, "//w:p"), 0) << "not well-formed";
    EXPECT_EQ(xpath_count(xml, "//w:body/w:p[1]/w:pPr/w:jc[@w:val='center']"), 1);
    EXPECT_EQ(xpath_count(xml, "//w:body/w:p[1]/w:r/w:rPr[w:b and w:sz/@w:val='36']"), 1);
    EXPECT_EQ(xpath_count(xml, "count(//w:body/w:p[1]//w:t[.='标题 & <汇总>'])"), 1);
    EXPECT_EQ(xpath_count(xml, "//w:tblStyle[@w:val='TableGrid']"), 1);
    EXPECT_EQ(xpath_count(xml, "//w:tblLook[@w:lastRow='1' and @w:firstRow='0']"), 1);
    // The table's cells are centred like the paragraph it was added at.
    EXPECT_EQ(xpath_count(xml, "//w:tc/w:p/w:pPr/w:jc[@w:val='center']"), 2);
    EXPECT_EQ(xpath_count(xml, "//w:tbl/following-sibling::w:p[1]/w:r/w:br[@w:type='page']"), 1);
    EXPECT_EQ(xpath_count(xml, "//w:p[w:r/w:t='下一页']/preceding-sibling::w:p[1]//w:br"), 1);
    // The bold toggled off again: the table and the last text are not bold.
    EXPECT_EQ(xpath_count(xml, "//w:p[w:r/w:t='下一页']//w:b"), 0);
}

TEST(WordCursor, PicturesKeepTheirMetafileAndScale) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("kvd-word-picture-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    WmfCanvas canvas(Rect::below(0, 0, 1333, 2000));
    canvas.line({0, 0}, {1333, -2000});
    ASSERT_TRUE(canvas.write(dir / "a.WMF").ok());
    std::FILE* junk = std::fopen((dir / "junk.WMF").c_str(), "wb");
    std::fputs("not a metafile", junk);
    std::fclose(junk);

    Session s;
    s.add_table(1, 1);
    InlineShapes shapes = s.selection->inline_shapes();
    EXPECT_FALSE(shapes.add_picture((dir / "junk.WMF").string(), false, true));
    EXPECT_FALSE(shapes.add_picture((dir / "missing.WMF").string(), false, true));
    EXPECT_FALSE(shapes.add_picture((dir / "a.WMF").string(), true, false));  // links are not kept
    std::optional<InlineShape> shape = shapes.add_picture((dir / "a.WMF").string(), false, true);
    ASSERT_TRUE(shape);
    ASSERT_TRUE(shape->set_scale_width(50));
    EXPECT_FALSE(shape->set_scale_width(0));
    std::filesystem::remove_all(dir);  // the document holds its own copy

    const content::Picture& p = s.content().pictures.at(0);
    EXPECT_EQ(p.width_emu, 1333 * 3600);  // tenths of a millimetre
    EXPECT_EQ(p.height_emu, 2000 * 3600);
    const std::string xml = document_xml(s.content());
    EXPECT_EQ(xpath_count(xml, "//wp:inline/wp:extent[@cx='2399400' and @cy='3600000']"), 1);
}

}  // namespace
}  // namespace kvd::word
