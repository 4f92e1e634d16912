#pragma once
// A ReportContent (analysis/report_content.h) written into a document of the
// word object model with the calls of the Word report: the title (18 pt,
// bold, centred), each heading as a bold paragraph, each text as a
// paragraph, each table as a grid table with its header row repeated on
// every page and its columns as wide as the content's weights share the
// page's text width. The word processor wraps the texts in their cells.
//
// The Word report writes the "承载力分析" section with it after the summary
// table; write_content_word writes the group table "多桩统计表" as a
// document of its own.

#include <string>

#include "analysis/report_content.h"
#include "base/status.h"
#include "output/word/word_objects.h"

namespace kvd {

// Writes `content` under `title` at the selection, ending with a page break
// when `page_break_after`. False when a call failed; what was written stays.
bool write_content_section(word::Document& document, word::Selection& selection,
                           const ReportContent& content, const std::string& title,
                           bool page_break_after);

// `content` under `title` as a .docx of its own at `path` (".docx" appended
// when missing), written atomically: on failure the file is left as it was.
// The group table "多桩统计表" is written so.
Status write_content_word(const ReportContent& content, const std::string& title,
                          const std::string& path);

inline constexpr char kWordWritingFailed[] = "写入Word文档时出错。";

}  // namespace kvd
