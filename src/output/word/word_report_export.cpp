#include "output/word/word_report_export.h"

#include <filesystem>

#include "base/file_names.h"
#include "base/format.h"
#include "base/temporary_folder.h"
#include "output/word/docx_writer.h"

namespace kvd {

std::string default_word_name(const CLbxDoc& doc) {
    return with_replaced_extension(doc.path().empty() ? doc.display_name() : doc.path(), ".docx");
}

std::optional<std::string> write_word_report(CLbxDoc& doc, const WordReportOptions& options,
                                             const std::string& chosen,
                                             const FontMetrics* metrics) {
    const std::string path = with_extension(chosen, ".docx");
    Status status = Status::success();
    // The metafiles never go next to the program (not writable) nor next to
    // the report; the folder goes with all it holds, whatever happens.
    std::optional<TemporaryFolder> folder = TemporaryFolder::create("word", status);
    if (!folder) {
        doc.ui().show_error(status.message());
        return std::nullopt;
    }
    word::Application application;
    CWordOffice office(doc, metrics);
    const CWordOffice::Outcome outcome = office.write_report(application, options, folder->path());
    if (outcome == CWordOffice::Outcome::kNotStarted || !office.document()) return std::nullopt;

    status = word::write_docx(office.document()->content(), path);
    if (!status.ok()) {
        doc.ui().show_error(status.message());
        return std::nullopt;
    }
    if (outcome == CWordOffice::Outcome::kComplete) {
        doc.ui().message_box(kConversionDone, kCaptionPrompt, MessageButtons::kOk,
                             MessageIcon::kInformation);
    }
    return path;
}

std::optional<std::string> export_word_report(CLbxDoc& doc, const WordReportOptions& options,
                                              const FontMetrics* metrics) {
    SaveDialogRequest request;
    request.proposed_name = default_word_name(doc);
    request.filter = kWordFilter;
    request.title = kWordDialogTitle;
    if (!doc.path().empty()) {
        request.initial_folder = std::filesystem::path(doc.path()).parent_path().string();
    }
    const std::optional<std::string> chosen = doc.ui().ask_save_path(request);
    if (!chosen || chosen->empty()) return std::nullopt;
    return write_word_report(doc, options, *chosen, metrics);
}

}  // namespace kvd
