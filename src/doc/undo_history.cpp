#include "doc/undo_history.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <tuple>
#include <type_traits>

namespace kvd {
namespace {

static_assert(std::is_trivially_copyable_v<TestHeader>);
static_assert(std::is_trivially_copyable_v<SamplePoint>);

// Header differences closer than this are kept as one run.
constexpr std::size_t kHeaderRunGap = 8;

bool same_points(std::span<const SamplePoint> a, std::span<const SamplePoint> b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size_bytes()) == 0);
}

// Equal but for the grade number, which in `b` is `shift` higher.
bool same_but_renumbered(std::span<const SamplePoint> a, std::span<const SamplePoint> b,
                         int shift) {
    if (shift == 0) return same_points(a, b);
    if (a.size() != b.size()) return false;
    constexpr std::size_t kAfterGrade = offsetof(SamplePoint, loading);
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (static_cast<std::int64_t>(a[i].grade) + shift != b[i].grade) return false;
        const auto* pa = reinterpret_cast<const unsigned char*>(&a[i]);
        const auto* pb = reinterpret_cast<const unsigned char*>(&b[i]);
        if (std::memcmp(pa + kAfterGrade, pb + kAfterGrade, sizeof(SamplePoint) - kAfterGrade) != 0)
            return false;
    }
    return true;
}

// The size of TestParams with the fields params_fields compares (64-bit
// libstdc++ strings).
constexpr std::size_t kTestParamsSize = 888;

// Every field of TestParams; a field added to it must be added here too (the
// size check below is the reminder).
auto params_fields(const TestParams& p) {
    return std::tie(p.site_name, p.pile_number, p.test_time, p.test_object, p.pile_diameter,
                    p.pressure_unit, p.plate_area, p.replacement_ratio, p.pile_length,
                    p.direction_kind, p.coordinate_mode, p.x_axis_max, p.y_axis_min, p.y_axis_max,
                    p.load_intervals, p.unload_intervals, p.channel_role, p.averaged,
                    p.anchor_pile_number, p.section_shape);
}
static_assert(sizeof(TestParams) == kTestParamsSize, "compare the new field in params_fields");

bool same_marks(const std::vector<CurveMark>& a, const std::vector<CurveMark>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const CurveMark& x, const CurveMark& y) {
                          return x.load == y.load && x.settlement == y.settlement;
                      });
}

std::vector<SamplePoint> slice(std::span<const SamplePoint> points, std::size_t first,
                               std::size_t count) {
    const auto part = points.subspan(first, count);
    return {part.begin(), part.end()};
}

// The readings of one grade that differ: the run between the common start and
// the common end.
PointPatch point_patch(int grade, std::span<const SamplePoint> before,
                       std::span<const SamplePoint> after) {
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < shorter && same_points(before.subspan(head, 1), after.subspan(head, 1))) ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && same_points(before.subspan(before.size() - 1 - tail, 1),
                                                after.subspan(after.size() - 1 - tail, 1))) {
        ++tail;
    }
    PointPatch patch;
    patch.grade = grade;
    patch.first = static_cast<int>(head);
    patch.before = slice(before, head, before.size() - head - tail);
    patch.after = slice(after, head, after.size() - head - tail);
    return patch;
}

void replace_points(COneGradeData& grade, int first, std::size_t count,
                    const std::vector<SamplePoint>& with) {
    if (count > 0) grade.remove(first, static_cast<int>(count));
    if (with.empty()) return;
    grade.insert(first, SamplePoint{}, static_cast<int>(with.size()));
    for (std::size_t i = 0; i < with.size(); ++i) grade.put(first + static_cast<int>(i), with[i]);
}

void renumber(std::vector<COneGradeData>& grades, std::size_t from, int shift) {
    if (shift == 0) return;
    for (std::size_t g = from; g < grades.size(); ++g) {
        for (SamplePoint& p : grades[g].points()) p.grade += shift;
    }
}

void diff_grades(const std::vector<COneGradeData>& before, const std::vector<COneGradeData>& now,
                 UndoStep& step) {
    auto points = [](const COneGradeData& g) { return g.points(); };
    const std::size_t shorter = std::min(before.size(), now.size());
    const int shift = static_cast<int>(now.size()) - static_cast<int>(before.size());
    std::size_t head = 0;
    while (head < shorter && same_points(points(before[head]), points(now[head]))) ++head;
    std::size_t tail = 0;
    while (tail < shorter - head &&
           same_but_renumbered(points(before[before.size() - 1 - tail]),
                               points(now[now.size() - 1 - tail]), shift)) {
        ++tail;
    }
    if (head == before.size() && head == now.size()) return;
    if (shift == 0) {
        // The same grades: only their changed readings are kept.
        for (std::size_t g = head; g < before.size() - tail; ++g) {
            if (same_points(points(before[g]), points(now[g]))) continue;
            step.points.push_back(
                point_patch(static_cast<int>(g), points(before[g]), points(now[g])));
        }
        return;
    }
    GradePatch patch;
    patch.first = static_cast<int>(head);
    patch.before.assign(before.begin() + static_cast<std::ptrdiff_t>(head),
                        before.end() - static_cast<std::ptrdiff_t>(tail));
    patch.after.assign(now.begin() + static_cast<std::ptrdiff_t>(head),
                       now.end() - static_cast<std::ptrdiff_t>(tail));
    patch.shift = shift;
    step.grades = std::make_unique<GradePatch>(std::move(patch));
}

void diff_header(const TestHeader& before, const TestHeader& now, UndoStep& step) {
    const auto* a = reinterpret_cast<const unsigned char*>(&before);
    const auto* b = reinterpret_cast<const unsigned char*>(&now);
    std::size_t i = 0;
    while (i < sizeof(TestHeader)) {
        if (a[i] == b[i]) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        std::size_t last_difference = i;
        while (end < sizeof(TestHeader) && end - last_difference <= kHeaderRunGap) {
            if (a[end] != b[end]) last_difference = end;
            ++end;
        }
        const std::size_t stop = last_difference + 1;
        step.header.push_back({i, {a + i, a + stop}, {b + i, b + stop}});
        i = stop;
    }
}

std::size_t params_bytes(const TestParams& params) {
    std::size_t bytes =
        sizeof(TestParams) + params.site_name.capacity() + params.pile_number.capacity();
    for (const std::string& number : params.anchor_pile_number) bytes += number.capacity();
    return bytes;
}

std::size_t record_bytes(const TestRecord& record) {
    std::size_t bytes = sizeof(TestRecord) + params_bytes(record.test_params);
    for (const COneGradeData& grade : record.grades.grades()) {
        bytes += sizeof(COneGradeData) + grade.points().size_bytes();
    }
    bytes += record.raw_readings.capacity() * sizeof(RawReading);
    bytes += record.mod_blocks.capacity() * sizeof(RawReading);
    bytes += record.param_snapshots.capacity() * sizeof(ReadingParams);
    return bytes;
}

std::size_t grades_bytes(const std::vector<COneGradeData>& grades) {
    std::size_t bytes = 0;
    for (const COneGradeData& grade : grades) {
        bytes += sizeof(COneGradeData) + grade.points().size_bytes();
    }
    return bytes;
}

}  // namespace

std::string command_step_name(std::string_view menu_text) {
    std::string name(menu_text.substr(0, menu_text.find('\t')));
    // "(&C)" goes whole; a bare '&' marks the next character.
    for (std::size_t at = name.find("(&"); at != std::string::npos; at = name.find("(&")) {
        const std::size_t close = name.find(')', at);
        if (close == std::string::npos) break;
        name.erase(at, close - at + 1);
    }
    std::erase(name, '&');
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    return name;
}

EditableCopy copy_of(const EditableParts& parts) {
    EditableCopy copy;
    copy.header = parts.header;
    copy.params = parts.params;
    copy.marks = parts.marks;
    copy.choice = parts.choice;
    return copy;
}

void EditableCopy::take_grades(const std::vector<COneGradeData>& now) {
    grades = now;
    has_grades = true;
}

void EditableCopy::drop_grades() {
    std::vector<COneGradeData>().swap(grades);
    has_grades = false;
}

bool UndoStep::empty() const {
    return points.empty() && !grades && header.empty() && !params && !marks && !choice &&
           !document_before;
}

std::size_t UndoStep::bytes() const {
    std::size_t total = sizeof(UndoStep) + name.capacity();
    for (const PointPatch& patch : points) {
        total +=
            sizeof(PointPatch) + (patch.before.size() + patch.after.size()) * sizeof(SamplePoint);
    }
    if (grades) {
        total += sizeof(GradePatch) + grades_bytes(grades->before) + grades_bytes(grades->after);
    }
    for (const HeaderRun& run : header) total += sizeof(HeaderRun) + 2 * run.before.size();
    if (params) total += params_bytes(params->before) + params_bytes(params->after);
    if (marks) {
        total +=
            sizeof(MarksChange) + (marks->before.size() + marks->after.size()) * sizeof(CurveMark);
    }
    if (choice) total += sizeof(ChoiceChange);
    if (document_before) {
        total += record_bytes(document_before->record) + record_bytes(document_after->record);
    }
    return total;
}

UndoStep difference(const EditableCopy& before, const EditableParts& now) {
    UndoStep step;
    if (before.has_grades) diff_grades(before.grades, now.grades, step);
    diff_header(before.header, now.header, step);
    if (params_fields(before.params) != params_fields(now.params)) {
        step.params = std::make_unique<ParamsChange>(ParamsChange{before.params, now.params});
    }
    if (!same_marks(before.marks, now.marks)) {
        step.marks = std::make_unique<MarksChange>(MarksChange{before.marks, now.marks});
    }
    if (before.choice != now.choice) {
        step.choice = std::make_unique<ChoiceChange>(ChoiceChange{before.choice, now.choice});
    }
    return step;
}

void apply_step(const UndoStep& step, EditableCopy& copy, StepDirection direction) {
    if (copy.has_grades) {
        apply_step(step, copy.parts(), direction);
        return;
    }
    UndoStep without_grades;
    without_grades.header = step.header;
    if (step.params) without_grades.params = std::make_unique<ParamsChange>(*step.params);
    if (step.marks) without_grades.marks = std::make_unique<MarksChange>(*step.marks);
    if (step.choice) without_grades.choice = std::make_unique<ChoiceChange>(*step.choice);
    apply_step(without_grades, copy.parts(), direction);
}

void apply_step(const UndoStep& step, EditableParts parts, StepDirection direction) {
    const bool forward = direction == StepDirection::kForward;
    for (const PointPatch& patch : step.points) {
        COneGradeData& grade = parts.grades[static_cast<std::size_t>(patch.grade)];
        const auto& from = forward ? patch.before : patch.after;
        replace_points(grade, patch.first, from.size(), forward ? patch.after : patch.before);
    }
    if (step.grades) {
        const GradePatch& patch = *step.grades;
        const auto& from = forward ? patch.before : patch.after;
        const auto& to = forward ? patch.after : patch.before;
        const auto first = parts.grades.begin() + patch.first;
        parts.grades.erase(first, first + static_cast<std::ptrdiff_t>(from.size()));
        parts.grades.insert(parts.grades.begin() + patch.first, to.begin(), to.end());
        renumber(parts.grades, static_cast<std::size_t>(patch.first) + to.size(),
                 forward ? patch.shift : -patch.shift);
    }
    auto* header = reinterpret_cast<unsigned char*>(&parts.header);
    for (const HeaderRun& run : step.header) {
        const auto& bytes = forward ? run.after : run.before;
        std::memcpy(header + run.offset, bytes.data(), bytes.size());
    }
    if (step.params) parts.params = forward ? step.params->after : step.params->before;
    if (step.marks) parts.marks = forward ? step.marks->after : step.marks->before;
    if (step.choice) parts.choice = forward ? step.choice->after : step.choice->before;
}

void UndoHistory::clear(bool at_saved) {
    steps_.clear();
    position_ = 0;
    saved_.reset();
    if (at_saved) saved_ = 0;
}

void UndoHistory::push(UndoStep step) {
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    if (saved_ && *saved_ > position_) saved_.reset();
    steps_.push_back(std::move(step));
    ++position_;
}

std::size_t UndoHistory::bytes() const {
    std::size_t total = 0;
    for (const UndoStep& step : steps_) total += step.bytes();
    return total;
}

}  // namespace kvd
