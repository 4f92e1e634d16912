#pragma once
// The report as one print job: up to ten sections in a fixed order, each
// with its page count, and the rules that turn a job page (counted from 1)
// into a section and a page within it, and into the number printed on it.
//
//   section  0 summary  1 loading  2 unloading  3 anchor pile  4 raw record
//            5 modification record  6 Q-s page  7 s-lgt page  8 s-lgQ page
//            9 bearing-capacity interpretation ("承载力分析")
//
// Section 9 came last and keeps its number, but it prints right after the
// summary table: the job's order is 0, 9, 1, 2, ... 8 (kJobOrder). It is
// chosen by PrintContent::analysis, off by default; while it is off the job
// is page for page the nine-section job it was before.
//
// The curve sections hold at most one page. Which curves share a page is the
// curve layout (PrintContent::curve_layout):
//
//   layout | section 6            | section 7            | section 8
//   -------+----------------------+----------------------+-----------
//     0    | Q-s        (flag)    | s-lgt        (flag)  | s-lgQ (flag)
//     1    | Q-s, s-lgt (always)  | -                    | s-lgQ (flag)
//     2    | Q-s        (flag)    | s-lgt, s-lgQ (always)| -
//     3    | Q-s, s-lgt, s-lgQ (always) | -              | -
//
// Page numbers follow PageSetup::page_number_mode: 0 every page counts on
// from the first page number; 1 none; 2 the table pages only (as mode 0);
// 3 the curve pages only, numbered from the first page number among
// themselves. The interpretation's pages are text and tables: they are
// numbered as the table pages (numbered in mode 2 by their place in the
// job, unnumbered in mode 3, where the curve pages keep their numbers).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "curves/print_placement.h"
#include "doc/page_setup.h"

namespace kvd {

enum class PrintSection {
    kSummaryTable,
    kLoadingTable,
    kUnloadingTable,
    kAnchorPileTable,
    kRawRecordTable,
    kModificationTable,
    kQsPage,
    kSlgtPage,
    kSlgQPage,
    kAnalysisPages,
};

inline constexpr int kPrintSectionCount = 10;
// The sections 0 ... 5 are tables.
inline constexpr int kPrintTableSections = 6;

// The order the sections print in.
inline constexpr std::array<PrintSection, kPrintSectionCount> kJobOrder = {
    PrintSection::kSummaryTable,      PrintSection::kAnalysisPages,   PrintSection::kLoadingTable,
    PrintSection::kUnloadingTable,    PrintSection::kAnchorPileTable, PrintSection::kRawRecordTable,
    PrintSection::kModificationTable, PrintSection::kQsPage,          PrintSection::kSlgtPage,
    PrintSection::kSlgQPage,
};

using SectionCounts = std::array<int, kPrintSectionCount>;

inline int section_index(PrintSection section) { return static_cast<int>(section); }
// A section printed by one of the tables (CMyGrid).
inline bool is_table_section(PrintSection section) {
    return section_index(section) < kPrintTableSections;
}
inline bool is_curve_section(PrintSection section) {
    return section == PrintSection::kQsPage || section == PrintSection::kSlgtPage ||
           section == PrintSection::kSlgQPage;
}

// What the job prints when nothing is left to print (beep and error box first).
inline constexpr char kNothingToPrint[] = "没有发现任何可打印内容! \n请检查打印选项中的设置。";

// The page counts of the three curve sections (6, 7, 8) for the print
// options: see the layout table above.
std::array<int, 3> curve_section_counts(const PrintContent& content);

// Whether a table section is in the job by the print options (the modification
// record also needs the extended display; existence is the job's part).
bool table_section_chosen(PrintSection section, const PrintContent& content);

int job_total(const SectionCounts& counts);

// A job page's place.
struct JobPage {
    PrintSection section = PrintSection::kSummaryTable;
    int page = 1;  // within the section, from 1
    friend bool operator==(const JobPage&, const JobPage&) = default;
};

// The section and page of job page p (from 1), walking the sections in
// kJobOrder; nothing for p outside 1 ... total. Sections without pages are
// skipped.
std::optional<JobPage> locate_job_page(const SectionCounts& counts, int p);

// The number printed on job page p at `where` (as locate_job_page gives it);
// nothing when the page carries no number.
std::optional<int> job_page_number(const PageSetup& setup, const SectionCounts& counts, int p,
                                   const JobPage& where);

// The curves drawn on the page of a curve section, in drawing order (empty
// for a table section and for a section the layout leaves empty).
std::vector<CurveKind> curves_of_section(PrintSection section, int layout);

}  // namespace kvd
