#pragma once
// One settings value given by its section and key as the settings store
// names them, "SECTION/KEY=VALUE" ("页面设置/打印页码=3",
// "页面设置/页眉=某某检测中心"), set over a document's settings. kvdtool
// report takes these to print with other than the default page setup and
// print options.
//
// The value goes through the store's own reading, so it is held to the
// ranges every stored value is held to: what the store would not use is
// refused, never silently replaced by a default. Fields the store does not
// keep (the curves' layout geometry) come back as their defaults, and the
// zoom stays as it is.

#include <string_view>

#include "base/status.h"
#include "doc/settings_store.h"

namespace kvd {

// Sets the value; a failure (and `settings` unchanged) for text that is not
// an assignment, a section or key the store does not have, an integer key
// given anything but a whole number, or a value the store would not use.
Status apply_setting_assignment(DocumentSettings& settings, std::string_view assignment);

}  // namespace kvd
