#pragma once
// CLbxDoc: the single open document. It owns the TestRecord and the display
// state that belongs to one open file (curve marks, zoom), runs the open, save,
// new and close rules, and is the only way the record changes: every command
// marks it modified and refreshes its views. It talks to the user only through
// UserInterface and to the main frame only through DocFrame.
//
//   open dialog / recent file / command line
//        |  checks (version, kind, unfinished test)   -> UserInterface
//        v
//   read_record -> TestRecord -> DocFrame::show_table_request, views (hint 60)
//   edits -> record -> commit_change: derived values of what changed (the
//            grade a change notice names, or the whole record) -> modified
//            flag -> views (hint or change notice)
//   save -> views (hint 10) -> kind and name rules -> write_record -> file

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_image.h"
#include "base/status.h"
#include "doc/curve_mark.h"
#include "doc/curve_style.h"
#include "doc/doc_view.h"
#include "doc/page_setup.h"
#include "doc/settings_store.h"
#include "doc/undo_history.h"
#include "doc/user_interface.h"
#include "record/new_file_wizard.h"
#include "record/test_record.h"

namespace kvd {

inline constexpr char kDefaultDocumentName[] = "新文件.KVD";
inline constexpr char kApplicationTitle[] = "ROzadazoza";
inline constexpr char kSaveFilter[] = "KV静载测试分析文件(*.KVD;*.KVD2)|*.KVD;*.KVD2|";
inline constexpr char kSaveDialogTitle[] = "保存文件";
inline constexpr char kOldFormatQuestion[] =
    "将老版本ptx文件保存成什么格式？\n\n选择“是”将保存为分析文件KVD格式\n\n"
    "选择“否”将保存为新的PTX文件格式\n\n选择“取消”取消本次操作";
inline constexpr char kOldFormatCaption[] = "转换数据格式";
inline constexpr char kSaveTestFileQuestion[] =
    "后缀名.PTX或.PTX2测试文件 将另存为 后缀名.KVD或.KVD2分析文件，是否继续？";
// Saving an old-format test file as a test file: that kind has no place for
// the engineer's choice of the bearing capacity.
inline constexpr char kChoiceNotInTestFile[] =
    "测试文件不保存承载力的选定值，本次保存的文件中没有所选承载力；"
    "如需保留，请另存为分析文件（.KVD）。";
inline constexpr char kChooseCapacityStep[] = "选定承载力";
inline constexpr char kClearCapacityStep[] = "清除选定承载力";
inline constexpr char kRestoreWarning[] = "从原始数据恢复将废除对数据进行的所有修改!\n您是否继续?";

// "位移通道设置": what the channel setup dialog edits, for the channels that
// have a row in it (1 ... kChannelSetupRows).
inline constexpr int kChannelSetupRows = 12;
inline constexpr std::size_t kAnchorPileNumberChars = 15;  // characters, not bytes

struct ChannelSetup {
    std::array<ChannelRole, kChannelSetupRows> roles{};
    std::array<std::string, kChannelSetupRows> anchor_pile_numbers;
};

class CLbxDoc {
public:
    using Clock = std::function<std::int64_t()>;

    // The clock gives "now" for new records (tests pass a fixed one).
    explicit CLbxDoc(UserInterface& ui, Clock clock = nullptr);
    CLbxDoc(const CLbxDoc&) = delete;
    CLbxDoc& operator=(const CLbxDoc&) = delete;

    TestRecord& record() { return record_; }
    const TestRecord& record() const { return record_; }
    // Moves on whenever the document changes the record, brings its derived
    // values up to date or tells its views of a change: what is computed from
    // the record (a curve's axis ranges) stays good while it stands still.
    std::uint64_t record_serial() const { return record_serial_; }
    std::vector<CurveMark>& marks() { return marks_; }
    const std::vector<CurveMark>& marks() const { return marks_; }
    UserInterface& ui() { return ui_; }

    PageSetup& page_setup() { return page_setup_; }
    const PageSetup& page_setup() const { return page_setup_; }
    PrintContent& print_content() { return print_content_; }
    const PrintContent& print_content() const { return print_content_; }

    CurveStyle& curve_style() { return curve_style_; }
    const CurveStyle& curve_style() const { return curve_style_; }

    // Zoom of the curves: 0 fits the window, otherwise a factor (0.5 ... 8).
    // It lives in the curve style.
    double zoom_factor() const { return curve_style_.zoom; }
    void set_zoom_factor(double factor) { curve_style_.zoom = factor; }

    // Views and frame.
    void add_view(DocView* view);
    void remove_view(DocView* view);
    void update_all_views(int hint);
    void set_frame(DocFrame* frame) { frame_ = frame; }
    DocFrame* frame() const { return frame_; }

    // The path the document was read from or saved to; empty for a new one.
    const std::string& path() const { return path_; }
    // The name shown in the title bar: the file name, or "新文件.KVD".
    std::string display_name() const;
    bool is_modified() const { return modified_; }
    // Marking the document modified ends a change: outside a command it is
    // kept at once as an undo step of its own (a parameter page's edit).
    void set_modified(bool modified = true);
    // Whether the open file may be uploaded to the inspection station.
    bool upload_enabled() const { return upload_enabled_; }

    // Folder offered by the first open and save dialogs (the options' test-file folder).
    void set_initial_folder(std::string folder) { initial_folder_ = std::move(folder); }

    // The user settings the document holds: curve style (its zoom stays as
    // it is), page setup, print content and the two data folders as chosen
    // (empty for the program's defaults).
    DocumentSettings settings() const;
    void apply_settings(const DocumentSettings& settings);

    // The open dialog has checked the file it is about to open: the next
    // open() skips the checks (and consumes this).
    void skip_next_open_checks() { check_on_open_ = false; }

    // Opens a file with the checks of every open; a refused or unreadable file
    // is reported and the current document stays as it was.
    bool open(const std::string& path);
    // The framework's new document: the 16-grade template.
    void new_document();
    // File > New after the wizard: a hand-made test from the wizard's input.
    // Invalid input is refused with the wizard's message and changes nothing.
    bool create_from_wizard(const WizardInput& input);
    // The roles and anchor pile numbers of TestParams, for the channel setup dialog.
    ChannelSetup channel_setup() const;
    // The channel setup dialog's OK: the roles go into TestParams and into the
    // header's in-use and test-pile bytes (so that they survive a save), a
    // channel set to unused loses its averaged flag, the anchor pile numbers
    // are cut to kAnchorPileNumberChars characters; the settlements are
    // recomputed, the document is marked modified and the views (pages
    // included) reload. A role outside the three counts as unused.
    void apply_channel_setup(const ChannelSetup& setup);
    // Frees the contents (grades, raw readings, marks) and resets TestParams.
    void close();

    // File > Save (save_as false) and File > Save As (true): the dialog route
    // for new documents and test files, then save().
    bool save_document(bool save_as);
    // Saves to target with the kind and renaming rules of the opened kind.
    bool save(const std::string& target);
    // Asks to save a modified document before it is replaced or the program
    // ends; false when the user cancels (or the save failed).
    bool save_modified();

    // Commands.
    bool can_restore_from_raw_data() const { return !record_.raw_readings.empty(); }
    bool restore_from_raw_data();
    bool can_add_unloading_data() const;
    bool add_unloading_data();
    // Applies the control parameters of raw reading r to the header (hint 60).
    bool apply_snapshot(int r);
    // Converts the loads, the load-axis maximum and the marks between kN and
    // kPa over the plate area (nothing when the area is 0).
    bool convert_load_unit(bool to_kpa);
    // Sets (or, with nothing, removes) the engineer's choice of the bearing
    // capacity as one undoable step of that name; the document is modified
    // and every view refreshed. False when it is the choice already.
    bool set_engineer_choice(std::optional<EngineerChoice> choice, std::string step_name);
    // Adds a curve mark; false when the document holds the maximum already.
    bool add_mark(const CurveMark& mark);
    // The common end of an edit of the record: bring the derived values
    // (scheduled minutes, first-reading repeats, settlements) up to date,
    // mark the document modified and refresh all views with the hint. A
    // change notice names what changed: that grade is brought up to date with
    // the first reading of the next grade. Any other hint recomputes the whole
    // record when renumber is set (readings added, removed or moved, interval
    // tables or averaged channels changed, several grades edited), and
    // nothing when it is not (axes, marks: the readings did not change).
    void commit_change(int hint, bool renumber);
    // Recomputes the derived values of the whole record. The document does so
    // itself after every change it makes; tables, curves and output only read
    // them. Code that changes the record without a command of the document
    // calls this (or commit_change) before anything reads it.
    void refresh_derived();

    // Undo and redo. Every change a command makes between begin_command and
    // end_command (or during a drag, from press to release) is one step with
    // the command's name; the calls nest, the outermost name counts. A change
    // outside any command is a step of its own. The history lasts until the
    // document is replaced (open, new document).
    void begin_command(std::string name);
    void end_command();
    bool can_undo() const { return command_depth_ == 0 && history_.can_undo(); }
    bool can_redo() const { return command_depth_ == 0 && history_.can_redo(); }
    // The name of the step that undo or redo would take back or do again.
    std::string undo_name() const;
    std::string redo_name() const;
    // Pending page edits are stored (and so become a step) first; the
    // modified flag is clear exactly when the record is back to the file.
    bool undo();
    bool redo();
    const UndoHistory& history() const { return history_; }
    // Takes the record as it is now as the starting point of the next step,
    // for a change that is not an edit to take back (what saving itself
    // writes into the header, the upload's progress).
    void absorb_unrecorded_changes();

private:
    EditableParts editable_parts();
    // Brings the derived values up to date and starts a new history.
    void reset_history();
    // Keeps what changed since the last step as a step of that name.
    void capture_step(const std::string& name);
    // The common end of every change of the record; `readings_changed` when
    // the grades may have changed.
    void note_change(bool readings_changed);
    // Takes a step back (undo) or forward (redo).
    void move_in_history(StepDirection direction);
    DocumentImage document_image() const;
    void restore_document(const DocumentImage& image);

    bool check_file(ByteView bytes);
    bool write_to(const std::string& path, FileKind kind);
    std::int64_t now() const;

    UserInterface& ui_;
    Clock clock_;
    TestRecord record_;
    std::uint64_t record_serial_ = 0;
    std::vector<CurveMark> marks_;
    PageSetup page_setup_;
    PrintContent print_content_;
    CurveStyle curve_style_;
    std::vector<DocView*> views_;
    DocFrame* frame_ = nullptr;
    std::string path_;
    std::string initial_folder_;
    std::string test_folder_;
    std::string calibration_folder_;
    bool modified_ = false;
    bool upload_enabled_ = false;
    bool check_on_open_ = true;
    bool saved_once_ = false;

    UndoHistory history_;
    EditableCopy last_step_state_;  // the editable parts as of the last step
    int command_depth_ = 0;
    std::string command_name_;
};

// The changes made while it lives are one undo step named after the command.
class CommandStep {
public:
    CommandStep(CLbxDoc& doc, std::string name) : doc_(doc) { doc_.begin_command(std::move(name)); }
    ~CommandStep() { doc_.end_command(); }
    CommandStep(const CommandStep&) = delete;
    CommandStep& operator=(const CommandStep&) = delete;

private:
    CLbxDoc& doc_;
};

}  // namespace kvd
