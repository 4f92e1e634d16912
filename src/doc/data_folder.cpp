#include "doc/data_folder.h"

#include <filesystem>
#include <system_error>

namespace kvd {
namespace {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

}  // namespace

FolderEdit edit_data_folder(UserInterface& ui, std::string_view typed, const std::string& current) {
    namespace fs = std::filesystem;
    const std::string_view text = trimmed(typed);
    if (text.empty()) return {current, current};

    std::error_code error;
    fs::path path = fs::absolute(fs::path(std::string(text)), error);
    if (error) path = fs::path(std::string(text));
    path = path.lexically_normal();
    // "/data/" and "/data" are one folder; the root keeps its slash.
    if (!path.has_filename() && path.has_parent_path() && path != path.root_path()) {
        path = path.parent_path();
    }
    const std::string folder = path.string();

    if (fs::is_directory(path, error)) return {folder, folder};
    if (ui.message_box(kCreateFolderQuestion, kCaptionWarning, MessageButtons::kYesNo,
                       MessageIcon::kWarning) != MessageAnswer::kYes) {
        return {current, std::string(typed)};
    }
    error.clear();
    fs::create_directories(path, error);
    if (error || !fs::is_directory(path, error)) {
        ui.message_box(std::string(kCannotCreateFolderMessage) + folder, kCaptionError,
                       MessageButtons::kOk, MessageIcon::kError);
        return {current, std::string(typed)};
    }
    return {folder, folder};
}

}  // namespace kvd
