#pragma once
// CWordOffice: the Word report of the open test, written into a new document
// of the word object model by the calls a word processor takes from an
// automation client:
//
//   start     Documents.Add, ActiveDocument, Selection, Document.Range, Visible
//   summary   title block, the summary table (cursor-built two-row header,
//             one row per grade, the statistics line), page break
//   analysis  the bearing-capacity interpretation (word_content_section.h),
//             page break; only when chosen
//   detail    title block, one table of every loading and unloading reading
//             with a column per gauge, page break
//   raw       title, the test parameter table, the raw record table, page break
//   curves    the curve information table; the three curve metafiles; the
//             2 x 2 picture table holding them; the metafiles deleted
//
// The texts come from the same tables as the screen (summary, detail and raw
// record tables) and the same curves, so the numbers agree with them to the
// last digit. A failing call ends the report where it is; what was written
// stays in the document.

#include <optional>
#include <string>

#include "doc/lbx_doc.h"
#include "draw/font_metrics.h"
#include "output/word/word_objects.h"

namespace kvd {

// "输出到word选项": the sections of the report.
struct WordReportOptions {
    bool summary = true;  // "汇总表"
    bool detail = false;  // "详测表"
    bool raw = false;     // "原始记录表"
    bool curves = true;   // "曲线图表"
    bool analysis = false;  // "承载力分析", after the summary
    friend bool operator==(const WordReportOptions&, const WordReportOptions&) = default;
};

// Whether the raw record section may be chosen: more than one raw record.
bool raw_record_selectable(const CLbxDoc& doc);

// The messages of a word processor that cannot be used (warning icon).
inline constexpr char kDocumentsEmpty[] = "Documents为空!";
inline constexpr char kDocumentFailed[] = "Document获取失败!";
inline constexpr char kSelectionFailed[] = "Select获取失败!";
inline constexpr char kRangeFailed[] = "Range获取失败!";
// A call the word processor refused while the report was written.
inline constexpr char kWritingFailed[] = "写入Word文档时出错，文档只含出错之前的内容。";
inline constexpr char kConversionDone[] = "转换完成";

// The curve metafiles, put into the metafile folder.
inline constexpr char kQsMetafile[] = "_Qs.WMF";
inline constexpr char kSlgtMetafile[] = "_slgt.WMF";
inline constexpr char kSlgQMetafile[] = "_slgQ.WMF";

class CWordOffice {
public:
    enum class Outcome {
        kComplete,     // every chosen section written
        kNotStarted,   // no document to write into (after its message)
        kEnded,        // ended part-way, after the message of the failure
    };

    explicit CWordOffice(CLbxDoc& doc, const FontMetrics* metrics = nullptr);

    // Writes the chosen sections into a new document of `application`; the
    // curve metafiles go into `metafile_folder` and are deleted again.
    Outcome write_report(word::Application& application, const WordReportOptions& options,
                         const std::string& metafile_folder);
    // The document written into (nullptr before write_report started one).
    word::Document* document() const { return document_; }

private:
    bool start(word::Application& application);
    bool summary_section(const std::string& prefix);
    bool analysis_section(const std::string& prefix);
    bool detail_section(const std::string& prefix);
    bool raw_section(const std::string& prefix);
    // False after a failing call; `metafiles_failed` tells a metafile that
    // could not be written (which has shown its own message).
    bool curve_section(const std::string& folder, bool& metafiles_failed);
    bool curve_picture_table(const std::string& folder);

    // The calls, each a no-op once a call has failed.
    void title_block(const std::string& title, bool with_lines);
    void type(const std::string& text);
    void paragraph();
    void left(int unit, int count, bool extend = false);
    void right(int unit, int count, bool extend = false);
    void up(int unit, int count, bool extend = false);
    void down(int unit, int count, bool extend = false);
    void toggle_bold();
    void size(double points);
    void align(int alignment);
    void merge();
    void page_break();
    // Tables.Add at the selection, in the grid style with all four style options.
    std::optional<word::Table> new_table(int rows, int columns);
    void check(bool ok) { failed_ = failed_ || !ok; }
    void check_move(std::optional<int> moved) { check(moved.has_value()); }

    CLbxDoc& doc_;
    FixedFontMetrics fixed_metrics_;
    const FontMetrics& metrics_;

    // The automation objects of one export, in the order they are taken.
    word::Application* application_ = nullptr;
    std::optional<word::Documents> documents_;
    word::Document* document_ = nullptr;
    std::optional<word::Selection> selection_;
    std::optional<word::Range> range_;
    std::optional<word::InlineShapes> pictures_;
    std::optional<word::InlineShape> picture_;
    // The fixed arguments of the move calls.
    static constexpr int kMove = 0;
    static constexpr int kExtendSelection = word::kExtend;
    static constexpr int kCharacter = word::kUnitCharacter;
    static constexpr int kLine = word::kUnitLine;

    bool failed_ = false;
};

}  // namespace kvd
