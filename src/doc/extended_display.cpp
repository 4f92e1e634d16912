#include "doc/extended_display.h"

#include <atomic>

namespace kvd {
namespace {
std::atomic<bool> g_extended_display{false};
}  // namespace

bool extended_display() { return g_extended_display.load(std::memory_order_relaxed); }

void set_extended_display(bool on) { g_extended_display.store(on, std::memory_order_relaxed); }

}  // namespace kvd
