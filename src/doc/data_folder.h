#pragma once
// The data folders of the "常规" page (test files, calibration tables): what
// happens when the user leaves one of the folder fields. A folder that does
// not exist may be created on request; nothing else touches the disk, and
// the program's working directory is never changed.

#include <string>
#include <string_view>

#include "doc/user_interface.h"

namespace kvd {

inline constexpr char kCreateFolderQuestion[] = "该文件夹不存在，是否创建该文件夹？";
inline constexpr char kCannotCreateFolderMessage[] = "无法建立指定的文件夹：";

struct FolderEdit {
    std::string folder;  // the folder in use after the edit
    std::string text;    // what the field shows after the edit
};

// A field left with `typed` while `current` is the folder in use: blanks
// around the text are dropped and a relative path is taken from the working
// directory. An empty text puts the current folder back. A folder that does
// not exist is created if the user agrees (the question above, "警告",
// yes/no); on no the text stays as typed and the current folder stays in
// use; when it cannot be created the user is told ("错误") and the current
// folder stays. A path to something other than a folder cannot be created.
FolderEdit edit_data_folder(UserInterface& ui, std::string_view typed, const std::string& current);

}  // namespace kvd
