#pragma once
// The Word export command after its options dialog ("输出到word选项"):
//
//   save dialog (the test file's name with ".docx", in its folder)
//     -> a private temporary folder for the curve metafiles
//     -> CWordOffice writes the report into a new document of the word model
//     -> the .docx written atomically (no partial file on failure)
//     -> "转换完成" when every chosen section was written
//
// The caller opens the written document with the desktop's application.

#include <optional>
#include <string>

#include "doc/lbx_doc.h"
#include "output/word/word_office.h"

namespace kvd {

inline constexpr char kWordFilter[] = "Word 文档 (*.docx)|*.docx";
inline constexpr char kWordDialogTitle[] = "输出到Word文档";

// The name the save dialog proposes.
std::string default_word_name(const CLbxDoc& doc);

// Writes the report to `path` (".docx" appended when missing). The path
// written, or nothing when the document could not be written at all (after
// the message). A report ended part-way is still written, after its message
// and without "转换完成".
std::optional<std::string> write_word_report(CLbxDoc& doc, const WordReportOptions& options,
                                             const std::string& path,
                                             const FontMetrics* metrics = nullptr);

// The save dialog, then write_word_report. Nothing on Cancel or failure.
std::optional<std::string> export_word_report(CLbxDoc& doc, const WordReportOptions& options,
                                              const FontMetrics* metrics = nullptr);

}  // namespace kvd
