#pragma once
// The Excel export ("输出到Excel文档(&E)"): the raw record table as GBK text,
// cells separated by tabs, rows ended by line feeds, in a file ending in
// ".xls" so that a spreadsheet program opens it as a workbook.
//
//   本级荷载(kN) 实测荷载(kN) 实测油压(MPa) 记录时间(时:分) 实际间隔(min) 表 1 ... 本级沉降(mm) 平均沉降(mm) 备注
//   one line per raw record: the grade load, then the table's texts
//
// The texts are those of the raw record table on screen, so the workbook
// shows what the engineer saw.

#include <optional>
#include <string>

#include "base/byte_image.h"
#include "base/status.h"
#include "doc/lbx_doc.h"

namespace kvd {

inline constexpr char kExcelFilter[] = "Microsoft Excel 工作簿 (*.xls)|*.xls";
inline constexpr char kExcelDialogTitle[] = "输出到Excel文档";

// The workbook text (UTF-8; the file holds it as GBK).
std::string excel_text(CLbxDoc& doc);

// Writes the workbook to `path` (".xls" appended unless it ends in it),
// replacing an existing file only once the new one is complete. The path
// written, or nothing after the failure's message.
std::optional<std::string> write_excel(CLbxDoc& doc, const std::string& path);

// The save dialog, then write_excel. Nothing on Cancel or failure.
std::optional<std::string> export_excel(CLbxDoc& doc);

}  // namespace kvd
