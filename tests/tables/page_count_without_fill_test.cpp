// The page counts the print job takes without filling a table must be the
// ones the filled table gives, band height included, for every table, test
// file and page geometry; all but the short modification record must answer
// without a fill.

#include <gtest/gtest.h>

#include <string>

#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "tables/table_factory.h"

namespace kvd {
namespace {

std::vector<PageSetup> geometries() {
    std::vector<PageSetup> setups(1);  // the default A4 portrait
    PageSetup landscape;
    landscape.paper_width = 2970;
    landscape.paper_height = 2100;
    landscape.landscape = 1;
    setups.push_back(landscape);
    PageSetup tall_rows;
    tall_rows.row_height = 130;
    setups.push_back(tall_rows);
    PageSetup small_rows;
    small_rows.row_height = 40;
    setups.push_back(small_rows);
    // A raw record page just below and at its twelve-row minimum.
    for (int height : {1360, 1420, 1480}) {
        PageSetup short_paper;
        short_paper.paper_height = height;
        setups.push_back(short_paper);
    }
    PageSetup no_room;
    no_room.paper_height = 600;
    setups.push_back(no_room);
    return setups;
}

TEST(PageCountWithoutFill, AgreesWithTheFilledTable) {
    const char* files[] = {"demo.PTX", "demo.KVD", "plate.PTX", "uplift.PTX", nullptr};
    FixedFontMetrics metrics;
    for (const char* file : files) {
        ScriptedUserInterface ui;
        CLbxDoc doc(ui);
        if (file) ASSERT_TRUE(doc.open(std::string(KVD_SOURCE_DIR) + "/samples/" + file));
        else doc.new_document();
        for (int zero_minute_rows : {0, 1}) {
            doc.print_content().zero_minute_rows = zero_minute_rows;
            for (const PageSetup& geometry : geometries()) {
                for (const TableName& name : table_names()) {
                    SCOPED_TRACE(std::string(file ? file : "new") + " " + name.key + " h" +
                                 std::to_string(geometry.paper_height) + " r" +
                                 std::to_string(geometry.row_height) + " z" +
                                 std::to_string(zero_minute_rows));
                    auto unfilled = make_table(name.kind, doc, metrics);
                    PageSetup quick_setup = geometry;
                    const std::optional<int> quick = unfilled->page_count_without_fill(quick_setup);
                    // The modification record fills quickly: it has a few rows.
                    EXPECT_EQ(quick.has_value(), name.kind != TableKind::kChanges);
                    if (!quick) continue;
                    EXPECT_EQ(unfilled->row_count(), 0);  // really not filled

                    auto filled = make_table(name.kind, doc, metrics);
                    PageSetup filled_setup = geometry;
                    EXPECT_EQ(*quick, filled->page_count(filled_setup, doc.print_content()));
                    EXPECT_EQ(quick_setup.header_rows_height, filled_setup.header_rows_height);
                }
            }
        }
    }
}

}  // namespace
}  // namespace kvd
