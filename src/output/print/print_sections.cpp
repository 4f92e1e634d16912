#include "output/print/print_sections.h"

#include "doc/extended_display.h"

namespace kvd {

std::array<int, 3> curve_section_counts(const PrintContent& content) {
    const int qs = content.qs_curve ? 1 : 0;
    const int slgt = content.slgt_curve ? 1 : 0;
    const int slgq = content.slgq_curve ? 1 : 0;
    switch (normalised_layout(content.curve_layout)) {
        case 1:
            return {1, 0, slgq};
        case 2:
            return {qs, 1, 0};
        case 3:
            return {1, 0, 0};
        default:
            return {qs, slgt, slgq};
    }
}

bool table_section_chosen(PrintSection section, const PrintContent& content) {
    switch (section) {
        case PrintSection::kSummaryTable:
            return content.summary != 0;
        case PrintSection::kLoadingTable:
            return content.loading_detail != 0;
        case PrintSection::kUnloadingTable:
            return content.unloading_detail != 0;
        case PrintSection::kAnchorPileTable:
            return content.anchor_pile != 0;
        case PrintSection::kRawRecordTable:
            return content.raw_record != 0;
        case PrintSection::kModificationTable:
            return content.modification_record != 0 && extended_display();
        case PrintSection::kAnalysisPages:
            return content.analysis != 0;
        default:
            return false;
    }
}

int job_total(const SectionCounts& counts) {
    long long total = 0;
    for (int n : counts) total += n > 0 ? n : 0;
    // A job that long cannot be printed anyway; the count stays an int.
    return total > 1'000'000'000 ? 1'000'000'000 : static_cast<int>(total);
}

std::optional<JobPage> locate_job_page(const SectionCounts& counts, int p) {
    if (p < 1) return std::nullopt;
    int before = 0;  // pages of the earlier sections
    for (PrintSection section : kJobOrder) {
        const int n = counts[static_cast<std::size_t>(section_index(section))];
        if (n <= 0) continue;
        if (p - before <= n) return JobPage{section, p - before};
        before += n;
    }
    return std::nullopt;
}

std::optional<int> job_page_number(const PageSetup& setup, const SectionCounts& counts, int p,
                                   const JobPage& where) {
    const int first = setup.first_page_number;
    // The interpretation's pages are numbered as the tables.
    const bool table = !is_curve_section(where.section);
    switch (setup.page_number_mode) {
        case 0:
            return p - 1 + first;
        case 2:
            if (table) return p - 1 + first;
            return std::nullopt;
        case 3: {
            if (table) return std::nullopt;
            const int qs = counts[static_cast<std::size_t>(PrintSection::kQsPage)];
            const int slgt = counts[static_cast<std::size_t>(PrintSection::kSlgtPage)];
            switch (where.section) {
                case PrintSection::kQsPage:
                    return first;
                case PrintSection::kSlgtPage:
                    return qs + first;
                default:
                    return qs + slgt + first;
            }
        }
        default:
            return std::nullopt;
    }
}

std::vector<CurveKind> curves_of_section(PrintSection section, int layout) {
    using K = CurveKind;
    const int l = normalised_layout(layout);
    switch (section) {
        case PrintSection::kQsPage:
            if (l == 1) return {K::kQs, K::kSlgt};
            if (l == 3) return {K::kQs, K::kSlgt, K::kSlgQ};
            return {K::kQs};
        case PrintSection::kSlgtPage:
            if (l == 0) return {K::kSlgt};
            if (l == 2) return {K::kSlgt, K::kSlgQ};
            return {};
        case PrintSection::kSlgQPage:
            if (l == 0 || l == 1) return {K::kSlgQ};
            return {};
        default:
            return {};
    }
}

}  // namespace kvd
