#pragma once
// DocView: what the document tells its views. Every change of the record goes
// through the document, which then calls on_update on each view with a hint.

#include <cstdint>

namespace kvd {

// Update hints. A change notice (see change_notice) names one reading or grade.
namespace hint {
inline constexpr int kRefresh = 0;          // redraw; the project page reloads TestParams fields
inline constexpr int kStorePages = 10;      // write pending page edits into the record
inline constexpr int kStoreProjectPage = 20;
inline constexpr int kLoadPages = 30;       // load the record into the pages
inline constexpr int kDisablePages = 50;
inline constexpr int kEnablePages = 55;
inline constexpr int kFileLoaded = 60;      // a file was loaded or a snapshot applied
}  // namespace hint

inline constexpr int kWholeGrade = 0xFFFF;

// A change notice carries the grade (0 ... 16383) in bits 16 and up and the
// reading in the low 16 bits, with bit 30 set so that no notice ever equals
// one of the named hints above (reading 10 of grade 0 is not "store pages").
// Reading kWholeGrade names the whole grade.
inline constexpr int kChangeNoticeFlag = 1 << 30;
constexpr int change_notice(int grade, int reading) {
    return kChangeNoticeFlag | ((grade & 0x3FFF) << 16) | (reading & 0xFFFF);
}
constexpr bool is_change_notice(int hint) { return (hint & kChangeNoticeFlag) != 0; }
constexpr int notice_grade(int hint) { return (hint & ~kChangeNoticeFlag) >> 16; }
constexpr int notice_reading(int hint) { return hint & 0xFFFF; }

class DocView {
public:
    virtual ~DocView() = default;
    virtual void on_update(int hint) = 0;
};

// The main frame's part in the document's work: the raw record and
// modification record tables are created when a file that has them is loaded.
enum class ShowTableCode { kRawRecord = 1, kModificationRecord = 3, kSummary = 4 };

class DocFrame {
public:
    virtual ~DocFrame() = default;
    virtual void show_table_request(ShowTableCode code, int count) = 0;
    // The undo history changed (a step was added, undone or redone).
    virtual void history_changed() {}
};

}  // namespace kvd
