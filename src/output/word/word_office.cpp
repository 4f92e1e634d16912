// CWordOffice: starting the word processor, the title blocks and the
// summary section (word_office.h). The detail, raw record and curve sections
// are in word_office_sections.cpp.

#include "output/word/word_office.h"

#include "analysis/bearing_analysis.h"
#include "analysis/report_content.h"
#include "base/format.h"
#include "base/local_time.h"
#include "output/word/word_content_section.h"
#include "output/word/word_report_texts.h"
#include "record/grade_compute.h"
#include "tables/gather_table.h"

namespace kvd {


namespace {

constexpr double kTitlePoints = 18;
constexpr double kBodyPoints = 10.5;
constexpr int kCentre = 1;
constexpr int kJustify = 3;
constexpr int kSummaryColumns = 6;

}  // namespace

bool raw_record_selectable(const CLbxDoc& doc) { return doc.record().raw_count() > 1; }

CWordOffice::CWordOffice(CLbxDoc& doc, const FontMetrics* metrics)
    : doc_(doc), metrics_(metrics ? *metrics : fixed_metrics_) {}

bool CWordOffice::start(word::Application& application) {
    UserInterface& ui = doc_.ui();
    application_ = &application;
    documents_ = application.documents();
    documents_->add("", false, 0);
    if (documents_->count() == 0) {
        ui.show_warning(kDocumentsEmpty);
        return false;
    }
    document_ = application.active_document();
    if (!document_) {
        ui.show_warning(kDocumentFailed);
        return false;
    }
    selection_ = application.selection();
    if (!selection_) {
        ui.show_warning(kSelectionFailed);
        return false;
    }
    range_ = document_->range();
    application.set_visible(1);
    return true;
}

CWordOffice::Outcome CWordOffice::write_report(word::Application& application,
                                               const WordReportOptions& options,
                                               const std::string& metafile_folder) {
    const std::string prefix = table_title(doc_.print_content());
    if (!start(application)) return Outcome::kNotStarted;
    failed_ = false;
    if (options.summary && !summary_section(prefix)) {
        doc_.ui().show_warning(kWritingFailed);
        return Outcome::kEnded;
    }
    if (options.analysis && !analysis_section(prefix)) {
        doc_.ui().show_warning(kWritingFailed);
        return Outcome::kEnded;
    }
    if (options.detail && !detail_section(prefix)) {
        doc_.ui().show_warning(kWritingFailed);
        return Outcome::kEnded;
    }
    if (options.raw && raw_record_selectable(doc_) && !raw_section(prefix)) {
        doc_.ui().show_warning(kWritingFailed);
        return Outcome::kEnded;
    }
    if (options.curves) {
        bool metafiles_failed = false;
        if (!curve_section(metafile_folder, metafiles_failed)) {
            // A metafile that could not be written has said so itself.
            if (!metafiles_failed) doc_.ui().show_warning(kWritingFailed);
            return Outcome::kEnded;
        }
    }
    return Outcome::kComplete;
}

// --- the calls -------------------------------------------------------------

void CWordOffice::type(const std::string& text) {
    if (!failed_) check(selection_->type_text(text));
}
void CWordOffice::paragraph() {
    if (!failed_) check(selection_->type_paragraph());
}
void CWordOffice::left(int unit, int count, bool extend) {
    if (!failed_) check_move(selection_->move_left(unit, count, extend ? kExtendSelection : kMove));
}
void CWordOffice::right(int unit, int count, bool extend) {
    if (!failed_) check_move(selection_->move_right(unit, count, extend ? kExtendSelection : kMove));
}
void CWordOffice::up(int unit, int count, bool extend) {
    if (!failed_) check_move(selection_->move_up(unit, count, extend ? kExtendSelection : kMove));
}
void CWordOffice::down(int unit, int count, bool extend) {
    if (!failed_) check_move(selection_->move_down(unit, count, extend ? kExtendSelection : kMove));
}
void CWordOffice::toggle_bold() {
    if (!failed_) check(selection_->font().set_bold(word::kToggle));
}
void CWordOffice::size(double points) {
    if (!failed_) check(selection_->font().set_size(points));
}
void CWordOffice::align(int alignment) {
    if (!failed_) check(selection_->paragraph_format().set_alignment(alignment));
}
void CWordOffice::merge() {
    if (!failed_) check(selection_->cells().merge());
}
void CWordOffice::page_break() {
    if (!failed_) check(selection_->insert_break(word::kPageBreak));
}

std::optional<word::Table> CWordOffice::new_table(int rows, int columns) {
    if (failed_) return std::nullopt;
    std::optional<word::Table> table =
        document_->tables().add(selection_->range(), rows, columns, 1, 0);
    if (!table) {
        failed_ = true;
        return std::nullopt;
    }
    const std::optional<std::string> style = table->style();
    check(style.has_value());
    if (style && *style != word::content::kGridTableStyle) {
        check(table->set_style(word::content::kGridTableStyle));
    }
    for (int member = word::dispid::kLookHeadingRows; member <= word::dispid::kLookLastColumn;
         ++member) {
        check(table->set_style_option(member, 1));
    }
    if (failed_) return std::nullopt;
    return table;
}

bool CWordOffice::analysis_section(const std::string& prefix) {
    if (failed_) return false;
    const TestRecord& record = doc_.record();
    const ReportContent content = analysis_report(analyse_test(record), record.engineer_choice);
    check(write_content_section(*document_, *selection_, content, prefix + kAnalysisSectionTitle,
                                true));
    return !failed_;
}

// --- title blocks and the summary ------------------------------------------

void CWordOffice::title_block(const std::string& title, bool with_lines) {
    size(kTitlePoints);
    toggle_bold();
    align(kCentre);
    type(title);
    paragraph();
    toggle_bold();
    align(kJustify);
    size(kBodyPoints);
    paragraph();
    if (!with_lines) return;
    const std::array<std::string, 2> lines = title_lines(doc_.record().test_params);
    type(lines[0]);
    paragraph();
    type(lines[1]);
    paragraph();
    align(kCentre);
}

bool CWordOffice::summary_section(const std::string& prefix) {
    title_block(prefix + "汇总表", true);
    CGatherTable summary(doc_, metrics_);
    summary.fill();
    const TestParams& params = doc_.record().test_params;
    const std::optional<word::Table> table = new_table(summary.row_count() + 2, kSummaryColumns);
    if (!table) return false;

    // The two header rows, repeated on every page, built with the cursor.
    right(kCharacter, kSummaryColumns, true);
    down(kLine, 1, true);
    if (!failed_) check(selection_->rows().set_heading_format(word::kTrue));
    left(kCharacter, 1);
    down(kLine, 1, true);  // 序号 over both rows
    merge();
    right(kCharacter, 1);
    down(kLine, 1, true);  // the load over both rows
    merge();
    right(kCharacter, 1);
    right(kCharacter, 2, true);  // 历时 over its two columns
    merge();
    right(kCharacter, 1);
    right(kCharacter, 2, true);  // the displacement over its two columns
    merge();
    type(params.is_uplift() ? "上拔(mm)" : "沉降(mm)");
    down(kLine, 1);
    type("累 计");
    left(kCharacter, 4);
    type("本 级");
    left(kCharacter, 4);
    type("累 计");
    left(kCharacter, 4);
    type("本 级");
    up(kLine, 1);
    type("历 时(min)");
    left(kCharacter, 9);
    type(params.in_kpa() ? "荷 载\n kPa" : "荷 载\n(kN)");
    left(kCharacter, 9);
    type("序 号");
    down(kLine, 1);

    // One row per grade, cell by cell, as the table on screen shows them.
    for (int row = 1; row < summary.row_count() && !failed_; ++row) {
        for (int column = 0; column < kSummaryColumns; ++column) {
            type(summary.cell_text(row, column));
            right(kCharacter, 1);
        }
    }

    // The statistics line in one cell across the last row.
    right(kCharacter, kSummaryColumns, true);
    merge();
    align(kJustify);
    type(statistics_line(doc_.record().grades, params.is_uplift()));
    right(kCharacter, 1);  // out of the table
    page_break();
    return !failed_;
}

}  // namespace kvd
