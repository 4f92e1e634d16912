#pragma once
// The two data folders the program works in: where test files are looked for
// first (the open dialog) and where calibration tables are kept (the
// calibration tool). The options may name either; one left empty means the
// default, a folder of the user's own — the program's folder, where the
// installer puts the program, is not the user's to write in on Linux:
//
//   test files          <documents>/KVD/测试文件
//   calibration tables  <documents>/KVD/率定表文件
//
// (<documents> is the desktop's documents folder, the home folder without
// one). Nothing is created here; the calibration tool makes its folder when
// it first saves a table.

#include <QString>

#include "doc/settings_store.h"

namespace kvd {

QString default_test_file_folder();
QString default_calibration_folder();

// The chosen folder, or the default when none is chosen.
QString test_file_folder(const DocumentSettings& settings);
QString calibration_folder(const DocumentSettings& settings);

}  // namespace kvd
