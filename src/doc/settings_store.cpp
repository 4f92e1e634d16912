#include "doc/settings_store.h"

#include <type_traits>

namespace kvd {
namespace {

// The range a stored integer must lie in to be used.
struct Limits {
    long long min;
    long long max;
};

constexpr Limits kColour{0, 0xFFFFFF};
constexpr Limits kFlag{0, 1};

// The curve style's persisted fields with the values the curves can draw.
Limits curve_limits(const std::string& key) {
    if (key.find("颜色") != std::string::npos) return kColour;
    if (key.find("线型") != std::string::npos) return {0, 4};
    if (key.find("粗细") != std::string::npos) return {0, 50};
    if (key.find("字体大小") != std::string::npos) return {5, 500};
    // 0 draws no markers; the options page offers it.
    if (key == "作图点直径") return {0, 200};
    if (key == "作图点虚实") return kFlag;
    if (key == "标记符号") return {0, 6};
    return {0, 0};
}

// The page setup's persisted fields, in tenths of a millimetre where lengths.
template <typename Setup, typename Visitor>
void for_each_page_setting(Setup& s, Visitor&& visit) {
    visit("纸张宽度", s.paper_width, Limits{500, 10000});
    visit("纸张高度", s.paper_height, Limits{500, 10000});
    visit("纸张方向", s.landscape, kFlag);
    visit("上边距", s.top_margin, Limits{0, 1000});
    visit("下边距", s.bottom_margin, Limits{0, 1000});
    visit("左边距", s.left_margin, Limits{0, 1000});
    visit("右边距", s.right_margin, Limits{0, 1000});
    visit("表格行高", s.row_height, Limits{20, 300});
    visit("标题高度", s.title_height, Limits{0, 1000});
    visit("标题段后间距", s.title_spacing, Limits{0, 1000});
    visit("打印页码", s.page_number_mode, Limits{0, 3});
    visit("起始页码", s.first_page_number, Limits{0, 100000});
    visit("总页码", s.total_pages, Limits{0, 100000});
    visit("页码位置", s.page_number_position, Limits{0, 10});
    visit("页码格式", s.page_number_format, Limits{0, 10});
    visit("打印页眉", s.print_header, kFlag);
    visit("打印页脚", s.print_footer, kFlag);
}

template <typename Content, typename Visitor>
void for_each_print_setting(Content& c, Visitor&& visit) {
    visit("汇总表", c.summary, kFlag);
    visit("加载数据", c.loading_detail, kFlag);
    visit("卸载数据", c.unloading_detail, kFlag);
    visit("锚桩", c.anchor_pile, kFlag);
    visit("原始数据", c.raw_record, kFlag);
    visit("修改数据", c.modification_record, kFlag);
    visit("Q-s", c.qs_curve, kFlag);
    visit("s-lgt", c.slgt_curve, kFlag);
    visit("s-lgQ", c.slgq_curve, kFlag);
    visit("加卸0分钟", c.zero_minute_rows, kFlag);
    visit("图形长宽比", c.curve_aspect, kFlag);
    visit("打印版式", c.curve_layout, Limits{0, 3});
    visit("表格标题", c.table_title, Limits{0, static_cast<long long>(kTableTitles.size()) - 1});
    visit("打印批注", c.sign_off, Limits{0, 2});
    visit("打印简单汇总表", c.simple_summary, kFlag);
    visit("承载力分析", c.analysis, kFlag);
}

template <typename T>
void read_int_into(const SettingsBackend& backend, const std::string& section,
                   const std::string& key, T& field, Limits limits) {
    const std::optional<long long> value = backend.read_int(section, key);
    if (value && *value >= limits.min && *value <= limits.max) field = static_cast<T>(*value);
}

}  // namespace

std::optional<long long> MemorySettings::read_int(const std::string& section,
                                                  const std::string& key) const {
    const auto it = ints_.find({section, key});
    if (it == ints_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> MemorySettings::read_text(const std::string& section,
                                                     const std::string& key) const {
    const auto it = texts_.find({section, key});
    if (it == texts_.end()) return std::nullopt;
    return it->second;
}

void MemorySettings::write_int(const std::string& section, const std::string& key,
                               long long value) {
    texts_.erase({section, key});
    ints_[{section, key}] = value;
}

void MemorySettings::write_text(const std::string& section, const std::string& key,
                                const std::string& value) {
    ints_.erase({section, key});
    texts_[{section, key}] = value;
}

DocumentSettings default_document_settings(StyleColour background) {
    DocumentSettings settings;
    settings.curve_style.frame.background = background;
    return settings;
}

DocumentSettings restored_document_settings(const DocumentSettings& current,
                                            const std::string& install_folder) {
    DocumentSettings restored = default_document_settings(current.curve_style.frame.background);
    restored.page_setup.title_height = current.page_setup.title_height;
    restored.page_setup.title_spacing = current.page_setup.title_spacing;
    restored.test_folder = install_folder;
    restored.calibration_folder = install_folder;
    return restored;
}

DocumentSettings SettingsStore::read(StyleColour background) const {
    DocumentSettings settings = default_document_settings(background);
    for_each_curve_setting(settings.curve_style, [this](const char* key, auto& field) {
        using Field = std::remove_reference_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, std::string>) {
            if (auto text = backend_.read_text(kCurveStyleSection, key); text && !text->empty()) {
                field = *text;
            }
        } else {
            read_int_into(backend_, kCurveStyleSection, key, field, curve_limits(key));
        }
    });
    for_each_page_setting(settings.page_setup, [this](const char* key, int& field, Limits limits) {
        read_int_into(backend_, kPageSetupSection, key, field, limits);
    });
    PageSetup& page = settings.page_setup;
    // Margins that leave less than 5 cm of the paper to print on are not used.
    if (page.printable_width() < kLeastPrintableLength ||
        page.printable_height() < kLeastPrintableLength) {
        const PageSetup defaults;
        page.left_margin = defaults.left_margin;
        page.right_margin = defaults.right_margin;
        page.top_margin = defaults.top_margin;
        page.bottom_margin = defaults.bottom_margin;
    }
    if (auto text = backend_.read_text(kPageSetupSection, "页眉")) page.header_text = *text;
    if (auto text = backend_.read_text(kPageSetupSection, "页脚")) page.footer_text = *text;
    for_each_print_setting(settings.print_content,
                           [this](const char* key, int& field, Limits limits) {
                               read_int_into(backend_, kPrintContentSection, key, field, limits);
                           });
    if (auto text = backend_.read_text(kGeneralSection, kTestFolderKey)) {
        settings.test_folder = *text;
    }
    if (auto text = backend_.read_text(kGeneralSection, kCalibrationFolderKey)) {
        settings.calibration_folder = *text;
    }
    return settings;
}

bool SettingsStore::write(const DocumentSettings& settings) {
    for_each_curve_setting(settings.curve_style, [this](const char* key, const auto& field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, std::string>) {
            backend_.write_text(kCurveStyleSection, key, field);
        } else {
            backend_.write_int(kCurveStyleSection, key, static_cast<long long>(field));
        }
    });
    for_each_page_setting(settings.page_setup, [this](const char* key, const int& field, Limits) {
        backend_.write_int(kPageSetupSection, key, field);
    });
    backend_.write_text(kPageSetupSection, "页眉", settings.page_setup.header_text);
    backend_.write_text(kPageSetupSection, "页脚", settings.page_setup.footer_text);
    for_each_print_setting(settings.print_content,
                           [this](const char* key, const int& field, Limits) {
                               backend_.write_int(kPrintContentSection, key, field);
                           });
    backend_.write_text(kGeneralSection, kTestFolderKey, settings.test_folder);
    backend_.write_text(kGeneralSection, kCalibrationFolderKey, settings.calibration_folder);
    return backend_.flush();
}

std::string SettingsStore::install_folder() const {
    return backend_.read_text(kGeneralSection, kInstallFolderKey).value_or(std::string());
}

}  // namespace kvd
