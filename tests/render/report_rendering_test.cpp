// Pages of the demo's printed report, rendered through the Qt canvas and
// compared with the reference images under tests/data/report/ (made by this
// test with KVD_UPDATE_REFERENCES=1 and looked at before they were
// committed): a table page with header, footer and a numbered page, and the
// page of the three curves.

#include <gtest/gtest.h>

#include <QImage>

#include "doc/scripted_user_interface.h"
#include "image_compare.h"
#include "output/print/print_job.h"
#include "qt/page_render.h"

namespace kvd::testing {
namespace {

constexpr int kDpi = 100;

TEST(ReportRendering, PagesMatchTheirReferences) {
    ScriptedUserInterface ui;
    CLbxDoc doc(ui);
    ASSERT_TRUE(doc.open(std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX"));
    PageSetup& setup = doc.page_setup();
    setup.print_header = 1;
    setup.header_text = "某某检测中心";
    setup.print_footer = 1;
    setup.footer_text = "静载试验报告";
    setup.page_number_format = 4;
    setup.page_number_position = 3;  // top right, beside the header
    setup.total_pages = 11;
    FixedFontMetrics metrics;
    PrintJob job(doc, metrics, tables_of_record(doc.record()));
    ASSERT_EQ(job.total(), 11);

    const std::pair<int, const char*> pages[] = {{2, "report/loading_page.png"},
                                                 {11, "report/curve_page.png"}};
    for (const auto& [page, reference] : pages) {
        SCOPED_TRACE(reference);
        QImage image;
        ASSERT_TRUE(render_page_to_image(image, job.paper(),
                                         [&job, page](Canvas& canvas) { job.draw_page(canvas, page); },
                                         kDpi)
                        .ok());
        EXPECT_EQ(check_against_reference(image, reference), "");
    }
}

}  // namespace
}  // namespace kvd::testing
