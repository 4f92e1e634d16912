// The three curves of the sample tests, drawn on the metafile road (colour,
// ratio 150 %: the picture the export writes, 1333 x 2000 tenths of a
// millimetre) through the Qt canvas, and compared with the reference images
// under tests/data/curves/. The metafile road does not depend on a window's
// size, so the pictures are reproducible. The references were made by this
// test with KVD_UPDATE_REFERENCES=1 and looked at before they were committed.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <memory>
#include <string>

#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "doc/scripted_user_interface.h"
#include "image_compare.h"
#include "qt/page_render.h"

namespace kvd::testing {
namespace {

constexpr int kDpi = 100;
constexpr double kRatio = 1.5;

class CurveRendering : public ::testing::TestWithParam<const char*> {};

TEST_P(CurveRendering, MetafilePicturesMatchTheirReferences) {
    ScriptedUserInterface ui;
    CLbxDoc doc(ui);
    ASSERT_TRUE(doc.open(std::string(KVD_SOURCE_DIR) + "/samples/" + GetParam()));
    // A mark at the fourth grade's point, so that Q-s shows one.
    const CTestData& grades = doc.record().grades;
    doc.marks().push_back({static_cast<double>(grades.first_load(3)), grades.last_settlement(3)});

    const std::string stem = std::filesystem::path(GetParam()).stem().string();
    struct Kind {
        const char* name;
        std::unique_ptr<CImage> curve;
    };
    Kind kinds[] = {{"qs", std::make_unique<CQ_s>(doc)},
                    {"slgt", std::make_unique<Cs_lgt>(doc)},
                    {"slgq", std::make_unique<Cs_lgQ>(doc)}};
    for (Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        CImage& curve = *kind.curve;
        QImage image;
        ASSERT_TRUE(render_page_to_image(
                        image, curve.metafile_size(kRatio),
                        [&](Canvas& canvas) { curve.paint_metafile(canvas, kRatio, true); }, kDpi)
                        .ok());
        ASSERT_TRUE(curve.has_axes());
        EXPECT_EQ(check_against_reference(image, "curves/" + stem + "_" + kind.name + ".png"), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, CurveRendering,
                         ::testing::Values("demo.PTX", "uplift.PTX", "plate.PTX"),
                         [](const ::testing::TestParamInfo<const char*>& sample) {
                             return std::filesystem::path(sample.param).stem().string();
                         });

}  // namespace
}  // namespace kvd::testing
