// Fuzzes the SECTION/KEY=VALUE assignments kvdtool report takes. Whatever the
// text, the settings come out usable: an accepted assignment can be applied
// again with the same outcome and leaves every page setup value in the
// ranges the store reads; a refused one changes nothing.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "doc/settings_override.h"

namespace {

using namespace kvd;

bool same_page(const PageSetup& a, const PageSetup& b) {
    return a.paper_width == b.paper_width && a.paper_height == b.paper_height &&
           a.top_margin == b.top_margin && a.bottom_margin == b.bottom_margin &&
           a.left_margin == b.left_margin && a.right_margin == b.right_margin &&
           a.row_height == b.row_height && a.page_number_mode == b.page_number_mode &&
           a.header_text == b.header_text && a.footer_text == b.footer_text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const DocumentSettings before = default_document_settings();
    DocumentSettings settings = before;
    if (!apply_setting_assignment(settings, text).ok()) {
        if (!same_page(settings.page_setup, before.page_setup)) std::abort();
        return 0;
    }
    const PageSetup& page = settings.page_setup;
    if (page.paper_width < 500 || page.paper_height < 500 || page.row_height < 20 ||
        page.page_number_mode < 0 || page.page_number_mode > 3) {
        std::abort();
    }
    DocumentSettings again = settings;
    if (!apply_setting_assignment(again, text).ok()) std::abort();
    if (!same_page(again.page_setup, settings.page_setup)) std::abort();
    return 0;
}
