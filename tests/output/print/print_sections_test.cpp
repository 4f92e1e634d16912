// The nine sections of the print job: curve page counts by layout, job page
// to section mapping, page numbers of the four modes, curves of a page.

#include <gtest/gtest.h>

#include "output/print/print_sections.h"

namespace kvd {
namespace {

using S = PrintSection;

PrintContent curves(int layout, int qs, int slgt, int slgq) {
    PrintContent content;
    content.curve_layout = layout;
    content.qs_curve = qs;
    content.slgt_curve = slgt;
    content.slgq_curve = slgq;
    return content;
}

TEST(PrintSections, CurvePagesFollowTheLayoutAndItsFlags) {
    using Counts = std::array<int, 3>;
    // Layout 0: each curve on its own page when chosen.
    EXPECT_EQ(curve_section_counts(curves(0, 1, 1, 1)), (Counts{1, 1, 1}));
    EXPECT_EQ(curve_section_counts(curves(0, 1, 0, 1)), (Counts{1, 0, 1}));
    EXPECT_EQ(curve_section_counts(curves(0, 0, 0, 0)), (Counts{0, 0, 0}));
    // Layout 1: the shared Q-s/s-lgt page always, s-lgQ by its flag.
    EXPECT_EQ(curve_section_counts(curves(1, 0, 0, 0)), (Counts{1, 0, 0}));
    EXPECT_EQ(curve_section_counts(curves(1, 0, 0, 1)), (Counts{1, 0, 1}));
    // Layout 2: Q-s by its flag, the shared s-lgt/s-lgQ page always.
    EXPECT_EQ(curve_section_counts(curves(2, 0, 0, 0)), (Counts{0, 1, 0}));
    EXPECT_EQ(curve_section_counts(curves(2, 1, 0, 0)), (Counts{1, 1, 0}));
    // Layout 3: the one page of all three, whatever the flags.
    EXPECT_EQ(curve_section_counts(curves(3, 0, 0, 0)), (Counts{1, 0, 0}));
    EXPECT_EQ(curve_section_counts(curves(3, 1, 1, 1)), (Counts{1, 0, 0}));
    // A layout the program does not know prints as layout 0.
    EXPECT_EQ(curve_section_counts(curves(7, 1, 0, 0)), (Counts{1, 0, 0}));
}

TEST(PrintSections, JobPagesMapToSectionsSkippingEmptyOnes) {
    const SectionCounts counts = {2, 0, 3, 0, 0, 0, 1, 0, 1};
    EXPECT_EQ(job_total(counts), 7);
    const std::vector<JobPage> expected = {
        {S::kSummaryTable, 1},   {S::kSummaryTable, 2},   {S::kUnloadingTable, 1},
        {S::kUnloadingTable, 2}, {S::kUnloadingTable, 3}, {S::kQsPage, 1},
        {S::kSlgQPage, 1},
    };
    for (int p = 1; p <= 7; ++p) {
        SCOPED_TRACE(p);
        ASSERT_TRUE(locate_job_page(counts, p).has_value());
        EXPECT_EQ(*locate_job_page(counts, p), expected[static_cast<std::size_t>(p - 1)]);
    }
    EXPECT_FALSE(locate_job_page(counts, 0));
    EXPECT_FALSE(locate_job_page(counts, -3));
    EXPECT_FALSE(locate_job_page(counts, 8));
    EXPECT_FALSE(locate_job_page(SectionCounts{}, 1));
    // A negative count (no such thing, but never trusted) is no page.
    EXPECT_EQ(job_total({-4, 1, 0, 0, 0, 0, 0, 0, 0}), 1);
    EXPECT_EQ(*locate_job_page({-4, 1, 0, 0, 0, 0, 0, 0, 0}, 1), (JobPage{S::kLoadingTable, 1}));
}

TEST(PrintSections, PageNumbersOfTheFourModes) {
    // Three table pages, then the three curve pages of layout 0.
    const SectionCounts counts = {1, 2, 0, 0, 0, 0, 1, 1, 1};
    PageSetup setup;
    setup.first_page_number = 5;
    auto number = [&](int p) {
        return job_page_number(setup, counts, p, *locate_job_page(counts, p));
    };

    setup.page_number_mode = 0;  // every page
    for (int p = 1; p <= 6; ++p) EXPECT_EQ(number(p), p + 4) << p;

    setup.page_number_mode = 1;  // none
    for (int p = 1; p <= 6; ++p) EXPECT_FALSE(number(p)) << p;

    setup.page_number_mode = 2;  // table pages, counted from the job's first page
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(number(p), p + 4) << p;
    for (int p = 4; p <= 6; ++p) EXPECT_FALSE(number(p)) << p;

    setup.page_number_mode = 3;  // curve pages among themselves
    for (int p = 1; p <= 3; ++p) EXPECT_FALSE(number(p)) << p;
    EXPECT_EQ(number(4), 5);
    EXPECT_EQ(number(5), 6);
    EXPECT_EQ(number(6), 7);

    // Mode 3 with the Q-s page left out: s-lgt starts the numbers.
    const SectionCounts no_qs = {4, 0, 0, 0, 0, 0, 0, 1, 1};
    setup.first_page_number = 1;
    EXPECT_EQ(job_page_number(setup, no_qs, 5, {S::kSlgtPage, 1}), 1);
    EXPECT_EQ(job_page_number(setup, no_qs, 6, {S::kSlgQPage, 1}), 2);

    // An unknown mode numbers nothing.
    setup.page_number_mode = 9;
    EXPECT_FALSE(number(1));
}

TEST(PrintSections, CurvesDrawnOnEachCurvePage) {
    using K = CurveKind;
    using Kinds = std::vector<CurveKind>;
    EXPECT_EQ(curves_of_section(S::kQsPage, 0), (Kinds{K::kQs}));
    EXPECT_EQ(curves_of_section(S::kQsPage, 1), (Kinds{K::kQs, K::kSlgt}));
    EXPECT_EQ(curves_of_section(S::kQsPage, 2), (Kinds{K::kQs}));
    EXPECT_EQ(curves_of_section(S::kQsPage, 3), (Kinds{K::kQs, K::kSlgt, K::kSlgQ}));
    EXPECT_EQ(curves_of_section(S::kSlgtPage, 0), (Kinds{K::kSlgt}));
    EXPECT_EQ(curves_of_section(S::kSlgtPage, 2), (Kinds{K::kSlgt, K::kSlgQ}));
    EXPECT_EQ(curves_of_section(S::kSlgtPage, 1), Kinds{});
    EXPECT_EQ(curves_of_section(S::kSlgQPage, 0), (Kinds{K::kSlgQ}));
    EXPECT_EQ(curves_of_section(S::kSlgQPage, 1), (Kinds{K::kSlgQ}));
    EXPECT_EQ(curves_of_section(S::kSlgQPage, 3), Kinds{});
    EXPECT_EQ(curves_of_section(S::kSummaryTable, 3), Kinds{});
}

}  // namespace
}  // namespace kvd
