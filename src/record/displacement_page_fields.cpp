#include "record/displacement_page_fields.h"

#include "base/text_codec.h"

namespace kvd {

void DisplacementPageFields::load_from(const TestHeader& h) {
    for (int j = 0; j < kChannelCount; ++j) {
        ChannelFields& c = channels[static_cast<std::size_t>(j)];
        c.in_use = h.in_use[j] == 1;
        c.sensor_number = read_gbk_field(h.sensor_numbers[j]);
        c.test_pile = h.test_pile[j] == 1;
        c.shortens = h.shortens[j] == 1;
    }
}

void DisplacementPageFields::store_into(TestHeader& h) const {
    for (int j = 0; j < kChannelCount; ++j) {
        const ChannelFields& c = channels[static_cast<std::size_t>(j)];
        h.in_use[j] = c.in_use ? 1 : 0;
        write_gbk_field(h.sensor_numbers[j], c.sensor_number);
        h.test_pile[j] = c.test_pile ? 1 : 0;
        h.shortens[j] = c.shortens ? 1 : 0;
    }
}

}  // namespace kvd
