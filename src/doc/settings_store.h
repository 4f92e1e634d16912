#pragma once
// SettingsStore: the user settings the document keeps — the curve style
// (section "图形样式"), the page setup ("页面设置"), the print content
// ("打印选项") and the two data folders ("常规") — read once when the
// document is created and written back at the end of the program and after
// "恢复默认值". Where they are kept is a SettingsBackend: the desktop program
// uses the user's Qt settings, tests a map in memory.
//
// A stored value is never trusted: a missing value, or one outside the range
// the program can draw and print with, gives the default.

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "doc/curve_style.h"
#include "doc/page_setup.h"

namespace kvd {

inline constexpr char kPageSetupSection[] = "页面设置";
inline constexpr char kPrintContentSection[] = "打印选项";
inline constexpr char kGeneralSection[] = "常规";

// Section "常规": where the installer put the program (read only by
// "恢复默认值") and the two data folders as last chosen.
inline constexpr char kInstallFolderKey[] = "安装位置";
inline constexpr char kTestFolderKey[] = "测试文件位置";
inline constexpr char kCalibrationFolderKey[] = "率定表文件位置";

// One group of integer and text values per section.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;
    virtual std::optional<long long> read_int(const std::string& section,
                                              const std::string& key) const = 0;
    virtual std::optional<std::string> read_text(const std::string& section,
                                                 const std::string& key) const = 0;
    virtual void write_int(const std::string& section, const std::string& key, long long value) = 0;
    virtual void write_text(const std::string& section, const std::string& key,
                            const std::string& value) = 0;
    // Puts what was written where it is kept; false when that failed.
    virtual bool flush() { return true; }
};

// Settings in memory, for tests and for runs that must not touch the user's.
class MemorySettings : public SettingsBackend {
public:
    std::optional<long long> read_int(const std::string& section,
                                      const std::string& key) const override;
    std::optional<std::string> read_text(const std::string& section,
                                         const std::string& key) const override;
    void write_int(const std::string& section, const std::string& key, long long value) override;
    void write_text(const std::string& section, const std::string& key,
                    const std::string& value) override;
    std::size_t size() const { return ints_.size() + texts_.size(); }

private:
    std::map<std::pair<std::string, std::string>, long long> ints_;
    std::map<std::pair<std::string, std::string>, std::string> texts_;
};

struct DocumentSettings {
    CurveStyle curve_style;
    PageSetup page_setup;
    PrintContent print_content;
    // Empty: the program's own defaults (beside the program).
    std::string test_folder;
    std::string calibration_folder;
};

// The settings of a fresh installation; `background` is the curve background
// (the desktop's button-face colour in the program).
DocumentSettings default_document_settings(StyleColour background = kDefaultCurveBackground);

// What "恢复默认值" sets: a fresh installation's style, page setup and print
// content, except that the table title's height and the space below it stay
// as they are; both folders become the install folder.
DocumentSettings restored_document_settings(const DocumentSettings& current,
                                            const std::string& install_folder);

class SettingsStore {
public:
    explicit SettingsStore(SettingsBackend& backend) : backend_(backend) {}

    DocumentSettings read(StyleColour background = kDefaultCurveBackground) const;
    // False when the backend could not keep them.
    bool write(const DocumentSettings& settings);
    std::string install_folder() const;

private:
    SettingsBackend& backend_;
};

}  // namespace kvd
