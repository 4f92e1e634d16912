#pragma once
// ReportExporter: the two export commands of the main window, "输出到Word文档(&W)"
// (the options dialog CToWordOpt, then the core's save dialog and report) and
// "输出到Excel文档(&E)"; each written file is then opened with the desktop's
// default application. The opening goes through a replaceable function so
// that tests launch nothing.

#include <QString>
#include <functional>

#include "doc/lbx_doc.h"

class QWidget;

namespace kvd {

class ReportExporter {
public:
    // Opens a written file; false when nothing could open it.
    using Opener = std::function<bool(const QString& path)>;
    // The desktop's default application (QDesktopServices).
    static bool open_with_default_application(const QString& path);

    ReportExporter(CLbxDoc& doc, QWidget* parent);
    void set_opener(Opener opener) { opener_ = std::move(opener); }

    // True when a file was written (and handed to the opener).
    bool export_word();
    bool export_excel();

private:
    bool open(const std::string& path);

    CLbxDoc& doc_;
    QWidget* parent_;
    Opener opener_ = &ReportExporter::open_with_default_application;
};

}  // namespace kvd
