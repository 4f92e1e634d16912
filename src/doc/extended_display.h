#pragma once
// ExtendedDisplay: the process-wide switch ("扩充数据显示选项") that shows
// the modification record table and the raw record's status words. The
// behaviour makes it one switch for the whole program; this is its only home.

namespace kvd {

bool extended_display();
void set_extended_display(bool on);

}  // namespace kvd
