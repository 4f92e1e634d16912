#pragma once
// The cell texts and values that the raw record and modification record
// tables both derive from a RawReading: the measured load and oil pressure of
// the tester's load route, the average of the test-pile channels, and the
// planned interval before a reading. Number texts are built without printf's
// allocation because the raw record table formats every cell of up to a
// hundred thousand readings on each fill.

#include <string>
#include <string_view>
#include <vector>

#include "record/raw_reading.h"
#include "record/test_params.h"

namespace kvd {

// The channels a tester's InstrumentParams has in use, ascending, 0-based.
std::vector<int> channels_in_use(const InstrumentParams& instrument);

// The interval planned before a reading: its index's entry of the loading or
// unloading interval table (entries past the last use the last; a negative
// index uses the first).
int planned_interval(const InstrumentParams& instrument, const RawReading& reading);

class RawTextFormatter {
  public:
    explicit RawTextFormatter(const InstrumentParams& instrument);

    // loadA with an oil-pressure load sensor (pressure route 1), else loadB.
    int measured_load(const RawReading& reading) const;
    // "%5.2f" of the oil pressure paired with the measured load.
    std::string pressure(const RawReading& reading) const;
    // Mean of the test-pile channels (ChannelRole 1) to two decimals, halves
    // away from zero; 0 when no channel measures the test pile.
    double average(const RawReading& reading) const;

    static std::string integer(long long value);
    // "%6.2f", "%5.2f" and "%.2f", as printf writes them.
    static std::string fixed62(double value);
    static std::string fixed52(double value);
    static std::string fixed2(double value);

  private:
    bool pressure_route_ = false;
    std::vector<int> test_pile_channels_;
};

}  // namespace kvd
