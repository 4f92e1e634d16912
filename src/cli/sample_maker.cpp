#include "cli/sample_maker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "base/format.h"
#include "base/numeric.h"
#include "cli/sample_profile.h"
#include "record/file_format.h"
#include "record/grade_compute.h"
#include "record/test_file_writer.h"

namespace kvd {
namespace {

constexpr int kTestPileGauges = kSampleTestPileGauges;
constexpr int kMaxGradeReadings = 60;  // a grade is never held longer than a day
constexpr int kMaxScaledGrades = 250;  // loading grades fit the header's byte
constexpr int kReadingsPerScaledGrade = 400;
constexpr std::int64_t kFirstTestTime = 1686529800;  // 2023-06-12 08:30 in China

struct GradePlan {
    std::int32_t loading;
    int load;      // nominal, kN or kPa
    int readings;  // raw readings taken in the grade
};

// Minutes of reading i of a grade on the tester's schedule.
// Readings past the table's end repeat its last entry.
int scheduled_minutes(const IntervalTable& table, int i) {
    const int listed = std::min(i, kIntervalCount - 1);
    int minutes = 0;
    for (int k = 0; k <= listed; ++k) minutes += table[static_cast<std::size_t>(k)];
    return minutes + (i - listed) * table[kIntervalCount - 1];
}

// The soil's response: a hyperbolic load-settlement curve; within a grade
// part of the settlement comes at once and the rest creeps in exponentially.
struct Model {
    double per_load;  // mm per load unit at small loads
    double ultimate;  // load at which the settlement would run away
    double max_load;
    double final_settlement(double load) const { return per_load * load / (1 - load / ultimate); }
    double creep_minutes(double load) const {
        double share = load / max_load;
        return 15 + 70 * share * share;
    }
};

constexpr double kLoadingCreepShare = 0.35;
constexpr double kUnloadingCreepShare = 0.25;
constexpr double kUnloadingCreepMinutes = 12;

double creep_curve(double from, double to, double share, double tau, double minutes) {
    return from + (to - from) * (1 - share * std::exp(-minutes / tau));
}

// Readings of a loading grade until the settlement of each of two consecutive
// hours (checked every 30 minutes from minute 30 on) stays under the
// criterion. The model stops at 70 % of it, so that the gauges' noise and
// the rounding to 0.01 mm cannot undo the stability in the readings.
int readings_until_stable(double from, double to, double tau, const IntervalTable& table) {
    auto at = [&](double t) { return creep_curve(from, to, kLoadingCreepShare, tau, t); };
    for (int i = 1; i < kMaxGradeReadings; ++i) {
        double t = scheduled_minutes(table, i);
        if (t < 120) continue;
        double limit = kSampleStabilityCriterion * 0.7;
        if (at(t) - at(t - 60) < limit && at(t - 30) - at(t - 90) < limit) return i + 1;
    }
    return kMaxGradeReadings;
}

int readings_within(const IntervalTable& table, int hold_minutes) {
    int i = 1;
    while (i < kMaxGradeReadings && scheduled_minutes(table, i) <= hold_minutes) ++i;
    return i;
}

// The grades of the test and their reading counts (natural size, or fitted
// to exactly `wanted` readings).
std::vector<GradePlan> plan_grades(const SampleProfile& p, const Model& model, int loading_grades,
                                   bool unfinished, int wanted) {
    std::vector<GradePlan> plan;
    plan.push_back({kLoading, 0, 1});  // the gauges' zero reading before any load
    double settlement = 0;
    const int first = std::min(p.first_multiple, loading_grades);
    for (int k = first; k <= loading_grades; ++k) {
        int load = static_cast<int>(std::lround(1.0 * p.max_load * k / loading_grades));
        double target = model.final_settlement(load);
        double tau = model.creep_minutes(load);
        int n = readings_until_stable(settlement, target, tau, p.load_intervals);
        settlement = creep_curve(settlement, target, kLoadingCreepShare, tau,
                                 scheduled_minutes(p.load_intervals, n - 1));
        plan.push_back({kLoading, load, n});
    }
    const int loaded = static_cast<int>(plan.size()) - 1;
    if (unfinished) {
        // Stopped while holding a grade some way up the loading, not yet stable.
        plan.resize(static_cast<std::size_t>(loaded * 3 / 5 + 2));
        plan.back().readings = std::min(plan.back().readings, 4);
    } else {
        for (int j = 1; j <= p.unloading_grades; ++j) {
            int load = static_cast<int>(
                std::lround(1.0 * p.max_load * (p.unloading_grades - j) / p.unloading_grades));
            int hold = j == p.unloading_grades ? p.last_unloading_minutes : p.unloading_minutes;
            plan.push_back({kUnloading, load, readings_within(p.unload_intervals, hold)});
        }
    }
    if (wanted <= 0) return plan;

    int total = 0;
    for (const auto& g : plan) total += g.readings;
    if (wanted <= total) {
        // A test cut short: grades in order until the count is reached.
        int left = wanted;
        std::size_t g = 0;
        for (; g < plan.size() && left > 0; ++g) {
            plan[g].readings = std::min(plan[g].readings, left);
            left -= plan[g].readings;
        }
        plan.resize(g);
        return plan;
    }
    // Longer holds: the extra readings go to the completed loading grades.
    std::vector<std::size_t> held;
    std::size_t last_loading = unfinished ? plan.size() - 1 : plan.size();
    for (std::size_t g = 1; g < last_loading; ++g) {
        if (plan[g].loading == kLoading) held.push_back(g);
    }
    if (held.empty()) held.push_back(0);
    const int extra = wanted - total;
    const int count = static_cast<int>(held.size());
    for (int k = 0; k < count; ++k) {
        plan[held[static_cast<std::size_t>(k)]].readings +=
            extra / count + (k >= count - extra % count ? 1 : 0);
    }
    return plan;
}

enum Event : std::uint8_t { kNoEvent, kEarly, kResumed, kGaugeReset, kCommError, kModified };

// Where something out of the ordinary happens: a few readings taken a minute
// or two early, a resumed test, a gauge reset, a communication error and some
// readings changed on the tester. Never on a grade's first reading (which
// repeats the previous grade's last); clock shifts only where the readings
// are at least 10 minutes apart, so the times stay in order.
std::vector<std::uint8_t> plan_events(const std::vector<GradePlan>& plan, const SampleProfile& p,
                                      SampleRandom& rng) {
    std::vector<std::uint8_t> events;
    std::vector<int> index;  // reading index within its grade
    std::vector<std::int32_t> loading;
    for (const auto& g : plan) {
        for (int i = 0; i < g.readings; ++i) {
            events.push_back(kNoEvent);
            index.push_back(i);
            loading.push_back(g.loading);
        }
    }
    const int total = static_cast<int>(events.size());
    if (total == 0) return events;
    auto shiftable = [&](int r) {
        const IntervalTable& table = loading[r] == kLoading ? p.load_intervals : p.unload_intervals;
        return index[r] >= 2 && table[static_cast<std::size_t>(std::min(index[r], 11))] >= 10;
    };
    auto place = [&](Event event, int count, bool shifts_clock) {
        for (int c = 0; c < count; ++c) {
            for (int attempt = 0; attempt < 64; ++attempt) {
                int r = rng.below(total);
                if (events[r] != kNoEvent || index[r] < 1 || (shifts_clock && !shiftable(r))) {
                    continue;
                }
                events[r] = event;
                break;
            }
        }
    };
    place(kModified, 2 + total / 2000, false);
    place(kEarly, 3 + total / 400, true);
    place(kResumed, 1 + total / 5000, true);
    place(kGaugeReset, 1 + total / 5000, false);
    place(kCommError, 1 + total / 5000, false);
    return events;
}

double to_hundredths(double mm) {
    return std::round(mm * 100.0) / 100.0;
}

// Measured oil pressure (MPa, two decimals) for a load, and the load the
// tester derives back from it over the jacks' piston area.
void set_measured_load(RawReading& r, double load, const SampleProfile& p, SampleRandom& rng) {
    const double unit_area = p.pressure_unit == 1 ? p.plate_area : 1.0;  // kPa -> kN
    const double radius = p.cylinder_bore / 2000.0;
    const double piston_area = p.jacks * std::numbers::pi * radius * radius;  // m²
    double pressure = load * unit_area / piston_area / 1000.0;
    pressure = std::max(0.0, round2(pressure * (1 + 0.003 * rng.noise())));
    const auto measured =
        static_cast<std::int32_t>(std::lround(pressure * piston_area * 1000.0 / unit_area));
    r.load_a = r.load_b = measured;
    r.pressure_a = r.pressure_b = pressure;
}

class SampleBuilder {
  public:
    SampleBuilder(const SampleOptions& options, int wanted)
        : p_(sample_profile(options.type)), rng_(options.seed) {
        const double ultimate_ratio = rng_.uniform(1.45, 1.7);
        model_.max_load = p_.max_load;
        model_.ultimate = p_.max_load * ultimate_ratio;
        model_.per_load =
            p_.top_settlement * (1 - 1 / ultimate_ratio) / p_.max_load * rng_.uniform(0.9, 1.1);
        const double tilt = rng_.uniform(0.02, 0.07);
        const double bearing = rng_.uniform(0, 2 * std::numbers::pi);
        for (int j = 0; j < kTestPileGauges; ++j) {
            tilt_[j] = tilt * std::cos(bearing + j * std::numbers::pi / 2);
        }
        for (auto& s : anchor_scale_) s = rng_.uniform(0.75, 1.25);
        loading_grades_ = p_.loading_grades;
        if (wanted > 0) {
            loading_grades_ =
                std::clamp(wanted / kReadingsPerScaledGrade, p_.loading_grades, kMaxScaledGrades);
        }
        plan_ = plan_grades(p_, model_, loading_grades_, options.type == SampleType::kUnfinished,
                            wanted);
        t0_ = kFirstTestTime + 86400 * static_cast<std::int64_t>(options.seed % 60);
    }

    TestRecord build() {
        TestRecord record = TestRecord::make_empty(t0_);
        record.header = make_sample_header(p_, loading_grades_, t0_, rng_);
        // The operator lengthened the pressurising time half-way up, when the
        // jacks needed more than five minutes to reach a grade's load.
        const std::size_t change_grade = 1 + static_cast<std::size_t>(loading_grades_) / 2;
        TestHeader early = record.header;
        early.longest_pressurising_time = 300;
        if (plan_.size() <= change_grade) record.header = early;
        const ReadingParams early_snapshot = snapshot_from_header(early);
        const ReadingParams late_snapshot = snapshot_from_header(record.header);

        const std::vector<std::uint8_t> events = plan_events(plan_, p_, rng_);
        record.raw_readings.reserve(events.size());
        record.param_snapshots.reserve(events.size());
        std::int64_t clock = t0_;
        for (std::size_t g = 0; g < plan_.size(); ++g) {
            if (g > 0) clock += transition_seconds(plan_[g]);
            clock = add_grade(static_cast<int>(g), clock, events, record);
            record.param_snapshots.resize(record.raw_readings.size(),
                                          g < change_grade ? early_snapshot : late_snapshot);
        }
        record.opened_kind = record.save_kind = FileKind::kTestFile;
        record.rebuild_params();
        build_grades_from_raw(record);
        return record;
    }

  private:
    // Seconds between a grade's last reading and the next grade's first: the
    // jacks are pumped (longer at higher loads) or the pressure let off.
    std::int64_t transition_seconds(const GradePlan& next) {
        int seconds = next.loading == kLoading ? 90 + 240 * next.load / p_.max_load : 60;
        return seconds + rng_.below(60);
    }

    // Appends the raw readings of grade g starting at clock time start; returns
    // the time of its last reading.
    std::int64_t add_grade(int g, std::int64_t start, const std::vector<std::uint8_t>& events,
                           TestRecord& record) {
        const GradePlan& grade = plan_[static_cast<std::size_t>(g)];
        const bool loading = grade.loading == kLoading;
        const IntervalTable& table = loading ? p_.load_intervals : p_.unload_intervals;
        const double from = settlement_;
        const double anchor_from = anchor_;
        double to = 0;
        double tau = kUnloadingCreepMinutes;
        double share = kUnloadingCreepShare;
        if (loading) {
            to = std::max(from, model_.final_settlement(grade.load));
            tau = model_.creep_minutes(grade.load);
            share = kLoadingCreepShare;
            peak_load_ = grade.load;
        } else {
            if (top_settlement_ < 0) top_settlement_ = from;
            const double residual = top_settlement_ * (1 - p_.rebound);
            const double ratio = peak_load_ > 0 ? 1.0 * grade.load / peak_load_ : 0;
            to = std::min(from, residual + (top_settlement_ - residual) * std::pow(ratio, 0.75));
        }
        // Anchor piles follow the load; a fifth of their lift stays when it comes off.
        const double anchor_to =
            p_.anchor_top / p_.max_load * (grade.load + 0.2 * (peak_load_ - grade.load));

        std::int64_t time = start;
        for (int i = 0; i < grade.readings; ++i) {
            const std::size_t r = record.raw_readings.size();
            const int minutes = scheduled_minutes(table, i);
            RawReading raw{};
            raw.loading = grade.loading;
            raw.grade = g;
            raw.index = i;
            raw.grade_load = grade.load;
            time = start + 60 * static_cast<std::int64_t>(minutes);
            if (i > 0) time += rng_.below(20);
            if (events[r] == kEarly) time -= 60 + rng_.below(61);
            if (events[r] == kResumed) time += 60 + rng_.below(121);
            raw.time = time;
            if (i > 0) {
                // The first reading of a grade repeats the previous grade's last;
                // the gauges stand where they were when the load changes.
                settlement_ = creep_curve(from, to, share, tau, minutes);
                anchor_ = creep_curve(anchor_from, anchor_to, 0.3, 10, minutes);
                read_gauges(loading, events[r] == kCommError);
            }
            std::copy(shown_.begin(), shown_.end(), raw.channel);
            set_measured_load(raw, grade.load, p_, rng_);
            raw.status = events[r] == kResumed      ? kStatusResumed
                         : events[r] == kGaugeReset ? kStatusGaugeReset
                         : events[r] == kCommError  ? kStatusCommError
                                                    : kStatusNormal;
            if (events[r] == kModified) add_modification(raw, loading, record);
            record.raw_readings.push_back(raw);
        }
        return time;
    }

    // New gauge values to 0.01 mm. Dial gauges never run backwards within a
    // phase of the test, so each holds at least (loading) or at most
    // (unloading) its last value. A communication error leaves one gauge at
    // its previous value.
    void read_gauges(bool loading, bool comm_error) {
        const int stale = comm_error ? rng_.below(kTestPileGauges + p_.anchor_channels) : -1;
        for (int j = 0; j < kTestPileGauges + p_.anchor_channels; ++j) {
            double model = j < kTestPileGauges ? settlement_ * (1 + tilt_[j])
                                               : anchor_ * anchor_scale_[j - kTestPileGauges];
            double value = to_hundredths(model + 0.004 * rng_.noise());
            if (j == stale) continue;
            shown_[j] = loading ? std::max(value, shown_[j]) : std::min(value, shown_[j]);
        }
    }

    // A reading the operator corrected on the tester (a knocked gauge): the
    // log keeps the reading as first taken, the instrument's reading at the
    // moment of the correction, and the corrected reading that was stored.
    void add_modification(RawReading& raw, bool loading, TestRecord& record) {
        RawReading before = raw;
        const int knocked = rng_.below(kTestPileGauges);
        before.channel[knocked] = to_hundredths(raw.channel[knocked] + rng_.uniform(0.35, 1.2));
        RawReading at = raw;
        at.time = raw.time + 60 * (2 + rng_.below(6));
        for (int j = 0; j < kTestPileGauges + p_.anchor_channels; ++j) {
            const double creep = 0.01 * rng_.below(3);
            at.channel[j] = to_hundredths(raw.channel[j] + (loading ? creep : -creep));
        }
        set_measured_load(at, raw.grade_load, p_, rng_);
        raw.status = kStatusModified;
        record.mod_blocks.push_back(before);
        record.mod_blocks.push_back(at);
        record.mod_blocks.push_back(raw);
    }

    const SampleProfile& p_;
    SampleRandom rng_;
    Model model_{};
    std::array<double, kTestPileGauges> tilt_{};  // each gauge's share of the head's tilt
    std::array<double, 2> anchor_scale_{};
    int loading_grades_ = 0;
    std::vector<GradePlan> plan_;
    std::int64_t t0_ = kFirstTestTime;
    double settlement_ = 0;  // model settlement of the pile head, mm
    double anchor_ = 0;      // model anchor movement, mm
    double top_settlement_ = -1;
    int peak_load_ = 0;
    std::array<double, kChannelCount> shown_{};  // last values the gauges showed
};

}  // namespace

TestRecord make_sample_record(const SampleOptions& options) {
    const int wanted = std::clamp(options.readings, 0, kMaxSampleReadings);
    return SampleBuilder(options, wanted).build();
}

Status make_sample_file(const SampleOptions& options, Bytes& out) {
    out.clear();
    if (options.readings > kMaxSampleReadings) {
        return Status::failure(strprintf("读数个数不能超过 %d 个 ！", kMaxSampleReadings));
    }
    const TestRecord record = make_sample_record(options);
    Status status = write_record(record, out);
    if (!status.ok()) return status;
    if (options.type == SampleType::kUnfinished) {
        const std::int32_t unfinished = 1;
        std::memcpy(out.data() + kUnfinishedFlagOffset, &unfinished, sizeof unfinished);
    }
    return Status::success();
}

}  // namespace kvd
