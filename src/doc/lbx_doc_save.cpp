// The save rules of the document: test files become analysis files, old-format
// test files are converted on a question, and the record is written through an
// atomic replacement so that a failed save never damages the previous file.

#include <cctype>
#include <filesystem>

#include "base/file_io.h"
#include "base/format.h"
#include "doc/lbx_doc.h"
#include "record/test_file_writer.h"

namespace kvd {
namespace {

struct PathParts {
    std::string base;       // the path without ".ext"
    std::string extension;  // upper-cased, without the dot; empty when none
};

PathParts split_extension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {path, ""};
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return {path.substr(0, dot), extension};
}

// A test file's analysis name: ".PTX" becomes ".KVD", ".PTX2" ".KVD2".
std::string analysis_path(const std::string& path) {
    const PathParts parts = split_extension(path);
    if (parts.extension == "PTX") return parts.base + ".KVD";
    if (parts.extension == "PTX2") return parts.base + ".KVD2";
    return path;
}

}  // namespace

bool CLbxDoc::write_to(const std::string& path, FileKind kind) {
    TestRecord& record = record_;
    const FileKind previous_kind = record.save_kind;
    record.save_kind = kind;
    // The file keeps each reading's average and minutes as the document
    // keeps them: current after every change.
    Bytes bytes;
    Status status = write_record(record, bytes);
    if (status.ok()) status = replace_file_atomically(path, bytes);
    if (!status.ok()) {
        // Nothing changed: the document keeps its name, kind and modified flag.
        record.save_kind = previous_kind;
        ui_.show_error(status.message());
        return false;
    }
    if (kind == FileKind::kTestFile) {
        record.header.snapshot_size = kSnapshotSize;
        // The document keeps the choice, so a later save as an analysis file
        // still has it; the file just written has not.
        if (record.engineer_choice) ui_.show_warning(kChoiceNotInTestFile);
    }
    // The document is now the file just written.
    record.opened_kind = kind;
    path_ = path;
    modified_ = false;
    saved_once_ = true;
    // Saving brought the derived values up to date and may have set header
    // fields of the file kind: the next step is measured from here, and this
    // is the state that undo and redo find the file in.
    absorb_unrecorded_changes();
    history_.mark_saved();
    return true;
}

bool CLbxDoc::save(const std::string& target) {
    update_all_views(hint::kStorePages);
    switch (record_.opened_kind) {
        case FileKind::kTestFile:
            return write_to(analysis_path(target), FileKind::kAnalysisWithRaw);
        case FileKind::kOldTestFile: {
            const MessageAnswer answer =
                ui_.message_box(kOldFormatQuestion, kOldFormatCaption, MessageButtons::kYesNoCancel,
                                MessageIcon::kQuestion);
            if (answer == MessageAnswer::kCancel) return false;
            // Snapshots for the converted readings come from the current header.
            const auto snapshots = record_.param_snapshots;
            const std::int32_t snapshot_size = record_.header.snapshot_size;
            record_.rebuild_snapshots_from_header();
            const bool saved =
                answer == MessageAnswer::kYes
                    ? write_to(analysis_path(target), FileKind::kAnalysisWithRaw)
                    : write_to(split_extension(target).base + ".PTX", FileKind::kTestFile);
            if (!saved) {
                record_.param_snapshots = snapshots;
                record_.header.snapshot_size = snapshot_size;
            }
            return saved;
        }
        default:
            return write_to(target, record_.save_kind);
    }
}

bool CLbxDoc::save_document(bool save_as) {
    const std::string path = save_as ? std::string() : path_;
    const bool test_file =
        record_.opened_kind == FileKind::kTestFile || record_.opened_kind == FileKind::kOldTestFile;
    if (!path.empty() && !test_file) return save(path);

    if (!path.empty() &&
        ui_.message_box(kSaveTestFileQuestion, kCaptionPrompt, MessageButtons::kYesNo,
                        MessageIcon::kQuestion) != MessageAnswer::kYes) {
        return false;
    }
    SaveDialogRequest request;
    request.proposed_name = analysis_path(path_.empty() ? display_name() : path_);
    request.filter = kSaveFilter;
    request.title = kSaveDialogTitle;
    if (!saved_once_) request.initial_folder = initial_folder_;
    const std::optional<std::string> chosen = ui_.ask_save_path(request);
    if (!chosen || chosen->empty()) return false;
    return save(*chosen);
}

bool CLbxDoc::save_modified() {
    if (!modified_) return true;
    const MessageAnswer answer =
        ui_.message_box(strprintf("是否保存对“%s”的更改？", display_name().c_str()), kApplicationTitle,
                        MessageButtons::kYesNoCancel, MessageIcon::kQuestion);
    if (answer == MessageAnswer::kCancel) return false;
    if (answer == MessageAnswer::kNo) return true;
    return save_document(false);
}

}  // namespace kvd
