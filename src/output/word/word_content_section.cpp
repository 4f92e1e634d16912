#include "output/word/word_content_section.h"

#include "base/file_names.h"
#include "output/word/docx_writer.h"

namespace kvd {
namespace {

constexpr double kTitlePoints = 18;
constexpr double kHeadingPoints = 12;
constexpr double kBodyPoints = 10.5;
constexpr int kLeft = 0;
constexpr int kCentre = 1;
constexpr int kJustify = 3;

class ContentWriter {
public:
    ContentWriter(word::Document& document, word::Selection& selection)
        : document_(document), selection_(selection) {}

    bool write(const ReportContent& content, const std::string& title, bool page_break_after) {
        size(kTitlePoints);
        bold(true);
        align(kCentre);
        type(title);
        paragraph();
        bold(false);
        size(kBodyPoints);
        align(kJustify);
        bool after_table = false;
        for (const ReportBlock& block : content.blocks) {
            // An empty paragraph after a table: a table that followed at once
            // would join it, and a heading would sit on its last row.
            if (after_table) paragraph();
            after_table = block.kind == ReportBlock::Kind::kTable;
            switch (block.kind) {
                case ReportBlock::Kind::kHeading:
                    size(kHeadingPoints);
                    bold(true);
                    align(kLeft);
                    type(block.text);
                    paragraph();
                    bold(false);
                    size(kBodyPoints);
                    align(kJustify);
                    break;
                case ReportBlock::Kind::kText:
                    type(block.text);
                    paragraph();
                    break;
                case ReportBlock::Kind::kTable:
                    table(block.table);
                    break;
            }
        }
        if (page_break_after && ok_) ok_ = selection_.insert_break(word::kPageBreak);
        return ok_;
    }

private:
    void type(const std::string& text) {
        if (ok_ && !text.empty()) ok_ = selection_.type_text(text);
    }
    void paragraph() {
        if (ok_) ok_ = selection_.type_paragraph();
    }
    void bold(bool on) {
        if (ok_) ok_ = selection_.font().set_bold(on ? word::kTrue : 0);
    }
    void size(double points) {
        if (ok_) ok_ = selection_.font().set_size(points);
    }
    void align(int alignment) {
        if (ok_) ok_ = selection_.paragraph_format().set_alignment(alignment);
    }
    void next_cell() {
        if (ok_) ok_ = selection_.move_right(word::kUnitCharacter, 1).has_value();
    }

    void table(const ReportTable& content) {
        if (!ok_ || content.header.empty()) return;
        const int columns = static_cast<int>(content.header.size());
        const int rows = 1 + static_cast<int>(content.rows.size());
        align(kLeft);
        std::optional<word::Table> table =
            ok_ ? document_.tables().add(selection_.range(), rows, columns, 1, 0) : std::nullopt;
        if (!table) {
            ok_ = false;
            return;
        }
        ok_ = table->set_style(word::content::kGridTableStyle);
        long long total = 0;
        for (int c = 0; c < columns; ++c) total += weight(content, c);
        const double text_points = document_.content().page.text_width() / 20.0;
        for (int c = 0; c < columns && ok_; ++c) {
            ok_ = table->set_column_width(
                c + 1, text_points * weight(content, c) / static_cast<double>(total));
        }
        // The header row, repeated on every page the table runs onto.
        if (ok_) ok_ = selection_.rows().set_heading_format(word::kTrue);
        bold(true);
        for (const std::string& text : content.header) {
            type(text);
            next_cell();
        }
        bold(false);
        for (const std::vector<std::string>& row : content.rows) {
            for (int c = 0; c < columns; ++c) {
                type(c < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(c)] : "");
                next_cell();
            }
        }
        // The last move left the table: the cursor is in the paragraph after it.
        align(kJustify);
    }

    static int weight(const ReportTable& table, int c) {
        const auto i = static_cast<std::size_t>(c);
        return i < table.weights.size() && table.weights[i] > 0 ? table.weights[i] : 1;
    }

    word::Document& document_;
    word::Selection& selection_;
    bool ok_ = true;
};

}  // namespace

bool write_content_section(word::Document& document, word::Selection& selection,
                           const ReportContent& content, const std::string& title,
                           bool page_break_after) {
    return ContentWriter(document, selection).write(content, title, page_break_after);
}

Status write_content_word(const ReportContent& content, const std::string& title,
                          const std::string& chosen) {
    const std::string path = with_extension(chosen, ".docx");
    word::Application application;
    word::Documents documents = application.documents();
    documents.add("", false, 0);
    word::Document* document = application.active_document();
    std::optional<word::Selection> selection = application.selection();
    if (!document || !selection ||
        !write_content_section(*document, *selection, content, title, false)) {
        return Status::failure(kWordWritingFailed);
    }
    return word::write_docx(document->content(), path);
}

}  // namespace kvd
