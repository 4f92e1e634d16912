#include "analysis/test_family.h"

namespace kvd {
namespace {

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool starts_with(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool is_treated_ground(std::string_view method) {
    return contains(method, "处理后地基");
}

TestFamily classify_test(const TestHeader& header, std::string_view method) {
    if (header.test_type == 2 || contains(method, "水平")) return TestFamily::kUnsupported;
    // Foundation methods are recognised by their text whatever the test object says.
    if (contains(method, "岩石地基") || contains(method, "岩地基")) return TestFamily::kRock;
    if (contains(method, "复合地基")) return TestFamily::kComposite;
    if (contains(method, "深层平板")) return TestFamily::kDeepPlate;
    if (contains(method, "平板") || contains(method, "土地基") || is_treated_ground(method)) {
        return TestFamily::kShallowPlate;
    }
    if (header.test_object == 1) {
        if (is_uplift(header)) return TestFamily::kUnsupported;
        switch (header.test_code) {
            case 9:
                return TestFamily::kRock;
            case 6:
                return TestFamily::kDeepPlate;
            case 4:
                return TestFamily::kComposite;
            default:
                return TestFamily::kShallowPlate;
        }
    }
    return is_uplift(header) ? TestFamily::kPileUplift : TestFamily::kPileCompression;
}

std::string rules_standard(TestFamily family, std::string_view method) {
    switch (family) {
        case TestFamily::kPileCompression:
        case TestFamily::kPileUplift:
            return "JGJ 106-2014";
        case TestFamily::kShallowPlate:
            return is_treated_ground(method) ? "JGJ 79-2012" : "GB 50007-2011";
        case TestFamily::kDeepPlate:
        case TestFamily::kRock:
            return "GB 50007-2011";
        case TestFamily::kComposite:
            return "JGJ 79-2012";
        case TestFamily::kUnsupported:
            return "";
    }
    return "";
}

std::string rules_notice(TestFamily family, std::string_view method) {
    if (family == TestFamily::kUnsupported) {
        return "水平静载试验及无法识别的试验不作承载力判定。";
    }
    const std::string standard = rules_standard(family, method);
    // The method texts write the code without a space: "JGJ106-2014 ...".
    std::string compact;
    for (char c : standard) {
        if (c != ' ') compact += c;
    }
    if (starts_with(method, compact)) return "";
    const std::string shown =
        method.empty() ? std::string("未填写") : "「" + std::string(method) + "」";
    return "试验方法为" + shown + "，承载力按 " + standard + " 的规定判定。";
}

}  // namespace kvd
