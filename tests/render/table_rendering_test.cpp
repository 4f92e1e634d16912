// The first printed page of every table for the demo test, rendered through
// the Qt canvas and compared with the reference images under
// tests/data/tables/ (made by this test with KVD_UPDATE_REFERENCES=1 and
// looked at before they were committed).

#include <gtest/gtest.h>

#include <QImage>

#include "doc/extended_display.h"
#include "doc/scripted_user_interface.h"
#include "image_compare.h"
#include "qt/page_render.h"
#include "tables/table_factory.h"

namespace kvd::testing {
namespace {

constexpr int kDpi = 100;

TEST(TableRendering, FirstPagesMatchTheirReferences) {
    ScriptedUserInterface ui;
    CLbxDoc doc(ui);
    ASSERT_TRUE(doc.open(std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX"));
    set_extended_display(true);
    FixedFontMetrics metrics;
    for (const TableName& name : table_names()) {
        SCOPED_TRACE(name.key);
        auto table = make_table(name.kind, doc, metrics);
        PageSetup& setup = doc.page_setup();
        ASSERT_GE(table->page_count(setup, doc.print_content()), 1);
        QImage image;
        ASSERT_TRUE(render_page_to_image(image, {setup.paper_width, setup.paper_height},
                                         [&](Canvas& canvas) {
                                             table->print_page(canvas, 1, setup,
                                                               doc.print_content());
                                         },
                                         kDpi)
                        .ok());
        EXPECT_EQ(check_against_reference(image, std::string("tables/") + name.key + ".png"), "");
    }
    set_extended_display(false);
}

}  // namespace
}  // namespace kvd::testing
