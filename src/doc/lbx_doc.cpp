#include "doc/lbx_doc.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "base/file_io.h"
#include "base/format.h"
#include "base/local_time.h"
#include "record/file_classifier.h"
#include "record/file_format.h"
#include "record/grade_compute.h"
#include "record/test_file_reader.h"

namespace kvd {
namespace {

// The template of a new document: loading grades of 0 ... 1000 kN and
// unloading grades of 800 ... 0 kN; grade 0 has one reading, the others two.
void build_template(CTestData& grades) {
    grades.clear();
    for (int i = 0; i < 16; ++i) {
        SamplePoint point{};
        point.grade = i;
        point.loading = i < 11 ? kLoading : kUnloading;
        point.load = i < 11 ? 100 * i : 3000 - 200 * i;
        COneGradeData& grade = grades.append_grade();
        grade.append(point);
        if (i > 0) grade.append(point);
    }
}

int channels_in_use(const TestHeader& header) {
    return static_cast<int>(std::count(std::begin(header.in_use), std::end(header.in_use), 1));
}

// The first `count` characters of a UTF-8 text.
std::string first_characters(const std::string& text, std::size_t count) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool starts_character = (byte & 0xC0) != 0x80;
        if (starts_character && characters++ == count) return text.substr(0, i);
    }
    return text;
}

ChannelRole known_role(ChannelRole role) {
    switch (role) {
        case ChannelRole::kTestPile:
        case ChannelRole::kAnchorPile:
            return role;
        default:
            return ChannelRole::kUnused;
    }
}

}  // namespace

CLbxDoc::CLbxDoc(UserInterface& ui, Clock clock) : ui_(ui), clock_(std::move(clock)) {
    record_ = TestRecord::make_empty(now());
    new_document();
}

std::int64_t CLbxDoc::now() const { return clock_ ? clock_() : current_time(); }

void CLbxDoc::add_view(DocView* view) {
    if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void CLbxDoc::remove_view(DocView* view) { std::erase(views_, view); }

void CLbxDoc::update_all_views(int hint) {
    ++record_serial_;
    // A view may remove itself while being told; walk a copy.
    const std::vector<DocView*> views = views_;
    for (DocView* view : views) view->on_update(hint);
    // The pages have written their pending edits into the record: outside a
    // command those are an undo step of their own.
    const bool pages_stored = hint == hint::kStorePages || hint == hint::kStoreProjectPage;
    if (pages_stored && command_depth_ == 0) capture_step(kPageEditStepName);
}

std::string CLbxDoc::display_name() const {
    if (path_.empty()) return kDefaultDocumentName;
    return std::filesystem::path(path_).filename().string();
}

bool CLbxDoc::check_file(ByteView bytes) {
    const FileProbe probe = classify_file(bytes);
    switch (probe.file_class) {
        case FileClass::kReadable:
        case FileClass::kOldFormat:
            return true;
        case FileClass::kUnfinished:
            return ui_.message_box(kQuestionUnfinished, kCaptionPrompt, MessageButtons::kYesNo,
                                   MessageIcon::kQuestion) == MessageAnswer::kYes;
        default:
            ui_.show_error(refusal_message(probe.file_class));
            return false;
    }
}

bool CLbxDoc::open(const std::string& path) {
    const bool check = check_on_open_;
    check_on_open_ = true;

    // The file is read piecewise into the record's arrays; only its prefix is
    // read for the checks.
    ReadOnlyFile file;
    Status status = file.open(path);
    if (!status.ok()) {
        ui_.show_error(status.message());
        return false;
    }
    if (check) {
        const Bytes head = read_head(file, kClassifyBytes);
        if (Status failed = file.read_status(); !failed.ok()) {
            ui_.show_error(failed.message());
            return false;
        }
        if (!check_file(head)) return false;
    }

    // Read into a separate record so that a refused file leaves the open
    // document exactly as it was.
    TestRecord loaded;
    ReadReport report;
    status = read_record(file, loaded, report);
    if (!status.ok()) {
        ui_.show_error(status.message());
        return false;
    }

    close();
    record_ = std::move(loaded);
    record_.file_path = path;
    path_ = path;
    modified_ = false;
    upload_enabled_ = report.uploadable;
    // A test file's grades are built by the reader, derived values and all;
    // an analysis file's come as stored and are brought up to date here.
    if (record_.opened_kind != FileKind::kTestFile) refresh_derived();
    reset_history();
    if (frame_) {
        const int channels = channels_in_use(record_.header);
        if (record_.raw_count() > 0) frame_->show_table_request(ShowTableCode::kRawRecord, channels);
        if (record_.mod_count() > 0) {
            frame_->show_table_request(ShowTableCode::kModificationRecord, channels);
        }
    }
    update_all_views(hint::kFileLoaded);
    for (const std::string& notice : report.notices) ui_.show_warning(notice);
    return true;
}

void CLbxDoc::close() {
    record_.clear_contents(now());
    marks_.clear();
    upload_enabled_ = false;
}

void CLbxDoc::new_document() {
    close();
    build_template(record_.grades);
    record_.opened_kind = record_.save_kind = FileKind::kAnalysis;
    record_.file_path.clear();
    record_.header.test_time = record_.test_params.test_time;
    record_.reconcile_new_record();
    refresh_derived();
    path_.clear();
    modified_ = false;
    reset_history();
    update_all_views(hint::kFileLoaded);
}

bool CLbxDoc::create_from_wizard(const WizardInput& input) {
    if (Status status = validate(input); !status.ok()) {
        ui_.beep();
        ui_.show_error(status.message());
        return false;
    }
    update_all_views(hint::kStorePages);
    // Page edits stored just now are a step of their own, before the new test.
    capture_step(kPageEditStepName);
    auto before = std::make_unique<DocumentImage>(document_image());
    if (!build_new_record(record_, input).ok()) {
        restore_document(*before);
        return false;
    }
    // A new test: it is saved under a new name and is no longer uploadable.
    marks_.clear();
    record_.file_path.clear();
    record_.reconcile_new_record();
    refresh_derived();
    path_.clear();
    upload_enabled_ = false;
    modified_ = true;
    // The step keeps both documents whole: undo brings the previous one back.
    UndoStep step;
    step.name = command_depth_ > 0 ? command_name_ : kWizardStepName;
    step.document_before = std::move(before);
    step.document_after = std::make_unique<DocumentImage>(document_image());
    last_step_state_ = copy_of(editable_parts());
    history_.push(std::move(step));
    if (frame_) frame_->history_changed();
    update_all_views(hint::kFileLoaded);
    return true;
}

ChannelSetup CLbxDoc::channel_setup() const {
    ChannelSetup setup;
    const TestParams& params = record_.test_params;
    for (std::size_t j = 0; j < setup.roles.size(); ++j) {
        setup.roles[j] = params.channel_role[j];
        setup.anchor_pile_numbers[j] = params.anchor_pile_number[j];
    }
    return setup;
}

void CLbxDoc::apply_channel_setup(const ChannelSetup& setup) {
    const CommandStep step(*this, kPageEditStepName);
    TestParams& params = record_.test_params;
    TestHeader& header = record_.header;
    for (std::size_t j = 0; j < setup.roles.size(); ++j) {
        const ChannelRole role = known_role(setup.roles[j]);
        params.channel_role[j] = role;
        if (role == ChannelRole::kUnused) params.averaged[j] = 0;
        params.anchor_pile_number[j] =
            first_characters(setup.anchor_pile_numbers[j], kAnchorPileNumberChars);
        header.in_use[j] = role != ChannelRole::kUnused ? 1 : 0;
        header.test_pile[j] = role == ChannelRole::kTestPile ? 1 : 0;
        header.averaged[j] = params.averaged[j] != 0 ? 1 : 0;
    }
    refresh_derived();
    note_change(false);
    // The displacement and project pages show the in-use and averaged bytes.
    update_all_views(hint::kLoadPages);
}

bool CLbxDoc::restore_from_raw_data() {
    if (!can_restore_from_raw_data()) return false;
    ui_.beep();
    if (ui_.message_box(kRestoreWarning, kCaptionWarning, MessageButtons::kOkCancel,
                        MessageIcon::kWarning) != MessageAnswer::kOk) {
        return false;
    }
    const CommandStep step(*this, kPageEditStepName);
    marks_.clear();
    restore_from_raw(record_);
    refresh_derived();
    note_change(false);
    // As after opening the file: the pages show the restored parameters.
    update_all_views(hint::kFileLoaded);
    return true;
}

bool CLbxDoc::can_add_unloading_data() const {
    const CTestData& grades = record_.grades;
    return grades.grade_count() == grades.loading_grade_count() && grades.loading_grade_count() >= 2;
}

bool CLbxDoc::add_unloading_data() {
    const CommandStep step(*this, kPageEditStepName);
    if (!kvd::add_unloading_data(record_.grades)) return false;
    refresh_derived();
    note_change(false);
    update_all_views(hint::kRefresh);
    return true;
}

bool CLbxDoc::apply_snapshot(int r) {
    const CommandStep step(*this, kPageEditStepName);
    if (!record_.apply_snapshot(r)) return false;
    note_change(false);
    update_all_views(hint::kFileLoaded);
    return true;
}

bool CLbxDoc::convert_load_unit(bool to_kpa) {
    const double area = record_.test_params.plate_area;
    const CommandStep step(*this, kPageEditStepName);
    if (!convert_record_loads(record_, to_kpa)) return false;
    for (CurveMark& mark : marks_) mark.load = to_kpa ? mark.load / area : mark.load * area;
    refresh_derived();
    note_change(false);
    update_all_views(hint::kRefresh);
    return true;
}

bool CLbxDoc::add_mark(const CurveMark& mark) {
    if (static_cast<int>(marks_.size()) >= kMaxCurveMarks) return false;
    marks_.push_back(mark);
    note_change(false);
    update_all_views(hint::kRefresh);
    return true;
}

bool CLbxDoc::set_engineer_choice(std::optional<EngineerChoice> choice, std::string step_name) {
    if (record_.engineer_choice == choice) return false;
    {
        CommandStep step(*this, std::move(step_name));
        record_.engineer_choice = std::move(choice);
        note_change(false);
    }
    update_all_views(hint::kRefresh);
    return true;
}

void CLbxDoc::commit_change(int hint, bool renumber) {
    if (is_change_notice(hint)) {
        // A notice that names no grade of the record (a grade just removed)
        // leaves the neighbours to the whole-record recompute.
        if (!refresh_grade(record_, notice_grade(hint))) refresh_derived();
    } else if (renumber) {
        refresh_derived();
    }
    note_change(true);
    update_all_views(hint);
}

void CLbxDoc::refresh_derived() {
    ++record_serial_;
    kvd::refresh_derived(record_);
}

DocumentSettings CLbxDoc::settings() const {
    DocumentSettings settings;
    settings.curve_style = curve_style_;
    settings.page_setup = page_setup_;
    settings.print_content = print_content_;
    settings.test_folder = test_folder_;
    settings.calibration_folder = calibration_folder_;
    return settings;
}

void CLbxDoc::apply_settings(const DocumentSettings& settings) {
    const double zoom = curve_style_.zoom;
    curve_style_ = settings.curve_style;
    curve_style_.zoom = zoom;
    page_setup_ = settings.page_setup;
    print_content_ = settings.print_content;
    test_folder_ = settings.test_folder;
    calibration_folder_ = settings.calibration_folder;
    update_all_views(hint::kRefresh);
}

}  // namespace kvd
