#include "app/export/report_exporter.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include "app/export/to_word_opt.h"
#include "output/excel/excel_export.h"
#include "output/word/word_report_export.h"

namespace kvd {

bool ReportExporter::open_with_default_application(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

ReportExporter::ReportExporter(CLbxDoc& doc, QWidget* parent) : doc_(doc), parent_(parent) {}

bool ReportExporter::open(const std::string& path) {
    const QString name = QFile::decodeName(QByteArray::fromStdString(path));
    if (!opener_ || !opener_(name)) {
        doc_.ui().show_warning("文件已保存，但没有找到打开它的程序：\n" + path);
    }
    return true;
}

bool ReportExporter::export_word() {
    CToWordOpt dialog(raw_record_selectable(doc_), parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    const std::optional<std::string> written = export_word_report(doc_, dialog.options());
    return written && open(*written);
}

bool ReportExporter::export_excel() {
    const std::optional<std::string> written = kvd::export_excel(doc_);
    return written && open(*written);
}

}  // namespace kvd
