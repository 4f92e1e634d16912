#include "record/test_header.h"

#include <algorithm>
#include <cstring>

namespace kvd {

TestHeader default_test_header(std::int64_t now) {
    TestHeader header;
    std::memset(&header, 0, sizeof header);
    header.test_time = now;
    header.displacement_sensor_type = 1;
    header.upload_mode = 1;
    header.field_1007 = 5;
    header.last_unloading_minutes = 180;
    header.test_type = 1;
    std::fill(std::begin(header.reserved_list_1100) + 16, std::end(header.reserved_list_1100),
              std::int16_t{-1});
    header.upload_state = 50;
    return header;
}

void apply_snapshot(const ReadingParams& s, TestHeader& h) {
    h.stability_check_off = s.stability_check_off;
    h.stability_count = s.stability_count;
    h.unloading_grades = s.unloading_grades;
    h.stability_minutes = s.stability_minutes;
    h.stability_criterion = s.stability_criterion;
    h.unloading_minutes = s.unloading_minutes;
    std::copy(std::begin(s.alarm_limits), std::end(s.alarm_limits), h.alarm_limits);
    std::copy(std::begin(s.grade_alarm_on), std::end(s.grade_alarm_on), h.grade_alarm_on);
    std::copy(std::begin(s.grade_alarm_multiple), std::end(s.grade_alarm_multiple),
              h.grade_alarm_multiple);
    h.test_mode = s.test_mode;
    h.reloading_off = s.reloading_off;
    h.reloading_mode = s.reloading_mode;
    h.longest_pressurising_time = s.longest_pressurising_time;
    h.load_drop_amount = s.load_drop_amount;
    h.load_drop_percentage = s.load_drop_percentage;
    h.last_unloading_minutes = s.last_unloading_minutes;
    h.field_1080 = s.field_1080;
    h.field_1082 = s.field_1082;
}

ReadingParams snapshot_from_header(const TestHeader& h) {
    ReadingParams s;
    std::memset(&s, 0, sizeof s);
    s.stability_check_off = h.stability_check_off;
    s.stability_count = h.stability_count;
    s.unloading_grades = h.unloading_grades;
    s.stability_minutes = h.stability_minutes;
    s.stability_criterion = h.stability_criterion;
    s.unloading_minutes = h.unloading_minutes;
    std::copy(std::begin(h.alarm_limits), std::end(h.alarm_limits), s.alarm_limits);
    std::copy(std::begin(h.grade_alarm_on), std::end(h.grade_alarm_on), s.grade_alarm_on);
    std::copy(std::begin(h.grade_alarm_multiple), std::end(h.grade_alarm_multiple),
              s.grade_alarm_multiple);
    s.test_mode = h.test_mode;
    s.reloading_off = h.reloading_off;
    s.reloading_mode = h.reloading_mode;
    s.longest_pressurising_time = h.longest_pressurising_time;
    s.load_drop_amount = h.load_drop_amount;
    s.load_drop_percentage = h.load_drop_percentage;
    s.last_unloading_minutes = h.last_unloading_minutes;
    s.field_1080 = h.field_1080;
    s.field_1082 = h.field_1082;
    return s;
}

}  // namespace kvd
