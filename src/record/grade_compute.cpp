#include "record/grade_compute.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/numeric.h"

namespace kvd {
namespace {

int interval_of(const SamplePoint& point, int index, const TestParams& params) {
    const IntervalTable& table =
        point.loading == kLoading ? params.load_intervals : params.unload_intervals;
    return table[static_cast<std::size_t>(std::min(index, kIntervalCount - 1))];
}

// The channels that enter an average, in channel order (so that the sum is
// taken in the same order whatever the set).
struct AveragedChannels {
    std::array<int, kChannelCount> index{};
    int count = 0;
    void add(int j) { index[static_cast<std::size_t>(count++)] = j; }
};

AveragedChannels params_averaged_channels(const TestParams& params) {
    AveragedChannels averaged;
    for (int j = 0; j < kChannelCount; ++j) {
        if (params.channel_role[j] == ChannelRole::kTestPile && params.averaged[j] == 1) {
            averaged.add(j);
        }
    }
    return averaged;
}

double unrounded_average_over(const double (&channel)[kChannelCount],
                              const AveragedChannels& averaged) {
    if (averaged.count == 0) return 0.0;
    double sum = 0;
    for (int k = 0; k < averaged.count; ++k) sum += channel[averaged.index[static_cast<std::size_t>(k)]];
    return sum / averaged.count;
}

double average_over(const double (&channel)[kChannelCount], const AveragedChannels& averaged) {
    return round2(unrounded_average_over(channel, averaged));
}

// Minutes are int32 in the file images; a sum beyond that range (intervals of
// absurd size typed by the user) stays at the limit instead of wrapping.
int add_minutes(int total, int step) {
    const long long sum = static_cast<long long>(total) + step;
    return static_cast<int>(std::clamp<long long>(sum, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

// Every field is set, so the point is not zero-filled first (grades of a
// large test file are built from 100,000 readings and more).
SamplePoint point_from_raw(const RawReading& raw, int grade, int load) {
    SamplePoint point;
    point.grade = grade;
    point.loading = raw.loading;
    point.load = load;
    point.minutes = 0;
    std::copy(std::begin(raw.channel), std::end(raw.channel), point.channel);
    point.settlement = 0;
    return point;
}

}  // namespace

double average_settlement(const double (&channel)[kChannelCount], const TestParams& params) {
    return average_over(channel, params_averaged_channels(params));
}

double unrounded_average_settlement(const double (&channel)[kChannelCount],
                                    const TestParams& params) {
    return unrounded_average_over(channel, params_averaged_channels(params));
}

namespace {

// The settlements of one grade.
void average_grade(COneGradeData& grade, const AveragedChannels& averaged) {
    for (auto& point : grade.points()) point.settlement = average_over(point.channel, averaged);
}

// The scheduled minutes of one grade, and its first reading's repeat of the
// last reading of the grade before it (nullptr: the test's first readings).
void schedule_grade(COneGradeData& grade, const SamplePoint* previous_last,
                    const TestParams& params) {
    int minutes = 0;
    int index = 0;
    for (auto& point : grade.points()) {
        minutes = add_minutes(minutes, interval_of(point, index, params));
        point.minutes = minutes;
        if (index == 0 && previous_last != nullptr) {
            std::copy(std::begin(previous_last->channel), std::end(previous_last->channel),
                      point.channel);
        }
        ++index;
    }
}

// The last reading of the nearest grade before g that has readings.
const SamplePoint* last_reading_before(const std::vector<COneGradeData>& grades, int g) {
    for (int p = g - 1; p >= 0; --p) {
        const COneGradeData& grade = grades[static_cast<std::size_t>(p)];
        if (!grade.empty()) return &grade.back();
    }
    return nullptr;
}

}  // namespace

void recompute_averages(CTestData& grades, const TestParams& params) {
    const AveragedChannels averaged = params_averaged_channels(params);
    for (auto& grade : grades.grades()) average_grade(grade, averaged);
}

void recompute_minutes(CTestData& grades, const TestParams& params) {
    const SamplePoint* previous_last = nullptr;
    for (auto& grade : grades.grades()) {
        schedule_grade(grade, previous_last, params);
        if (!grade.empty()) previous_last = &grade.back();
    }
}

void refresh_derived(TestRecord& record) {
    recompute_minutes(record.grades, record.test_params);
    recompute_averages(record.grades, record.test_params);
}

bool refresh_grade(TestRecord& record, int g) {
    std::vector<COneGradeData>& grades = record.grades.grades();
    if (g < 0 || g >= static_cast<int>(grades.size())) return false;
    const TestParams& params = record.test_params;
    const AveragedChannels averaged = params_averaged_channels(params);
    COneGradeData& grade = grades[static_cast<std::size_t>(g)];
    const SamplePoint* previous_last = last_reading_before(grades, g);
    schedule_grade(grade, previous_last, params);
    average_grade(grade, averaged);
    if (!grade.empty()) previous_last = &grade.back();
    if (previous_last == nullptr) return true;
    // The next grade with readings begins with a repeat of what now precedes
    // it; a grade of that one reading passes the repeat on to the next.
    for (std::size_t next = static_cast<std::size_t>(g) + 1; next < grades.size(); ++next) {
        COneGradeData& following = grades[next];
        if (following.empty()) continue;
        SamplePoint& first = following.points().front();
        std::copy(std::begin(previous_last->channel), std::end(previous_last->channel),
                  first.channel);
        first.settlement = average_over(first.channel, averaged);
        if (following.size() > 1) break;
        previous_last = &first;
    }
    return true;
}

void build_grades_from_raw(TestRecord& record) {
    record.grades.clear();
    const auto& raw = record.raw_readings;
    int grade_load = 0;
    // Each run of readings with one tester grade number becomes a grade, sized
    // once; its load is the nominal load of the run's first reading (0 for the
    // first grade).
    for (std::size_t start = 0; start < raw.size();) {
        std::size_t end = start + 1;
        while (end < raw.size() && raw[end].grade == raw[start].grade) ++end;
        const int grade_number = record.grades.grade_count();
        COneGradeData& grade = record.grades.append_grade();
        grade.reserve(static_cast<int>(end - start));
        for (std::size_t r = start; r < end; ++r) {
            grade.append(point_from_raw(raw[r], grade_number, grade_load));
        }
        if (end < raw.size()) grade_load = raw[end].grade_load;
        start = end;
    }
    // Settlements and minutes as the document keeps them: a record built
    // here is current, and opening it needs no second pass.
    refresh_derived(record);
}

void build_grades_from_old_raw(TestRecord& record) {
    record.grades.clear();
    const auto& raw = record.raw_readings;
    COneGradeData* current = nullptr;
    for (std::size_t r = 0; r < raw.size(); ++r) {
        if (!current) current = &record.grades.append_grade();
        SamplePoint point = point_from_raw(raw[r], raw[r].grade, raw[r].grade_load);
        float sum = 0;
        int count = 0;
        for (int j = 0; j < kChannelCount; ++j) {
            if (record.test_params.averaged[j] == 1) {
                sum += static_cast<float>(point.channel[j]);
                ++count;
            }
        }
        point.settlement = count > 0 ? round2(static_cast<double>(sum / static_cast<float>(count))) : 0;
        current->append(point);
        if (r + 1 < raw.size() && raw[r + 1].grade != raw[r].grade) current = nullptr;
    }
    recompute_minutes(record.grades, record.test_params);
}

bool restore_from_raw(TestRecord& record) {
    if (record.raw_readings.empty()) return false;
    // Everything that shapes the readings returns to what the file held when
    // it was read: channel setup, averaged flags, intervals, test time, units
    // and axes. The texts the user typed on the project page are kept. The
    // header follows, so that the pages show and a save keeps the restored
    // parameters.
    TestParams params = record.params_as_read;
    params.site_name = record.test_params.site_name;
    params.pile_number = record.test_params.pile_number;
    params.anchor_pile_number = record.test_params.anchor_pile_number;
    record.test_params = std::move(params);
    record.test_params.store_into(record.header);

    // The grades are built exactly as opening the file builds them: every raw
    // reading the tester sent is kept.
    if (record.opened_kind == FileKind::kOldTestFile)
        build_grades_from_old_raw(record);
    else
        build_grades_from_raw(record);
    return true;
}

bool add_unloading_data(CTestData& grades) {
    const int loading = grades.loading_grade_count();
    if (loading - 3 < -1 || grades.grade_count() != loading) return false;
    const double top = grades.last_settlement(loading - 1);
    // Numbered on from the last loading grade's number (L when the numbers are
    // consecutive from 0): a file splits grades where the number changes, so an
    // added grade that repeated its predecessor's number would merge into it
    // when the saved file is read again.
    int previous = grades.grade(loading - 1)->back().grade;
    for (int b = loading - 3; b >= -1; b -= 2) {
        if (b == -1) b = 0;
        const SamplePoint& source = grades.grade(b)->front();
        SamplePoint point{};
        previous = previous == std::numeric_limits<int>::max() ? 0 : previous + 1;
        point.grade = previous;
        point.loading = kUnloading;
        point.load = source.load;
        point.minutes = source.minutes;
        std::fill(std::begin(point.channel), std::end(point.channel), top);
        point.settlement = top;
        COneGradeData& added = grades.append_grade();
        added.append(point);
        added.append(point);
    }
    return true;
}

std::vector<GradeSummary> summarize_grades(const CTestData& grades) {
    std::vector<GradeSummary> rows;
    rows.reserve(static_cast<std::size_t>(grades.grade_count()));
    double previous = 0;
    int total_minutes = 0;
    for (const auto& grade : grades.grades()) {
        GradeSummary row;
        row.readings = grade.size();
        if (!grade.empty()) {
            row.load = grade.front().load;
            row.loading = grade.front().loading;
            row.holding_minutes = grade.back().minutes;
            row.cumulative = round2(grade.back().settlement);
        }
        total_minutes = add_minutes(total_minutes, row.holding_minutes);
        row.cumulative_minutes = total_minutes;
        row.this_grade = round2(row.cumulative - previous);
        previous = row.cumulative;
        rows.push_back(row);
    }
    return rows;
}

TestTotals compute_totals(const CTestData& grades) {
    TestTotals totals;
    const int loading = grades.loading_grade_count();
    totals.max_settlement = grades.last_settlement(loading - 1);
    totals.unloading_grades = grades.grade_count() - loading;
    if (totals.unloading_grades <= 0) {
        totals.unloading_grades = 0;
        return totals;
    }
    totals.residual = grades.last_settlement(grades.grade_count() - 1);
    totals.rebound = totals.max_settlement - totals.residual;
    totals.rebound_ratio =
        totals.max_settlement == 0 ? 0 : totals.rebound / totals.max_settlement * 100.0;
    return totals;
}

int convert_load(int load, double plate_area, bool to_kpa) {
    double value = (to_kpa ? load / plate_area : load * plate_area) + 0.5;
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::trunc(std::clamp(value, kMin, kMax)));
}

bool convert_record_loads(TestRecord& record, bool to_kpa) {
    const double area = record.test_params.plate_area;
    if (area == 0) return false;
    for (auto& grade : record.grades.grades()) {
        for (auto& point : grade.points()) point.load = convert_load(point.load, area, to_kpa);
    }
    record.test_params.x_axis_max = convert_load(record.test_params.x_axis_max, area, to_kpa);
    record.header.x_axis_max = record.test_params.x_axis_max;
    return true;
}

}  // namespace kvd
