#include "analysis/analysis_options.h"

namespace kvd {

double composite_relative_settlement(CompositeKind kind) {
    switch (kind) {
        case CompositeKind::kGravelColumn:
            return 0.010;
        case CompositeKind::kCompactionColumn:
            return 0.008;
        case CompositeKind::kCfgOnGravel:
            return 0.008;
        case CompositeKind::kCfgOnClay:
            return 0.010;
        case CompositeKind::kCementSoil:
            return 0.006;
        case CompositeKind::kCementSoilStrong:
            return 0.008;
        case CompositeKind::kUnspecified:
            return 0;
    }
    return 0;
}

std::string_view composite_kind_key(CompositeKind kind) {
    switch (kind) {
        case CompositeKind::kUnspecified:
            return "unspecified";
        case CompositeKind::kGravelColumn:
            return "gravel";
        case CompositeKind::kCompactionColumn:
            return "compaction";
        case CompositeKind::kCfgOnGravel:
            return "cfg-gravel";
        case CompositeKind::kCfgOnClay:
            return "cfg-clay";
        case CompositeKind::kCementSoil:
            return "cement-soil";
        case CompositeKind::kCementSoilStrong:
            return "cement-soil-strong";
    }
    return "unspecified";
}

std::string_view composite_kind_title(CompositeKind kind) {
    switch (kind) {
        case CompositeKind::kUnspecified:
            return "未指定";
        case CompositeKind::kGravelColumn:
            return "沉管砂石桩、振冲碎石桩、柱锤冲扩桩";
        case CompositeKind::kCompactionColumn:
            return "灰土挤密桩、土挤密桩";
        case CompositeKind::kCfgOnGravel:
            return "水泥粉煤灰碎石桩、夯实水泥土桩（卵石、圆砾、密实粗中砂地基）";
        case CompositeKind::kCfgOnClay:
            return "水泥粉煤灰碎石桩、夯实水泥土桩（黏性土、粉土地基）";
        case CompositeKind::kCementSoil:
            return "水泥土搅拌桩、旋喷桩";
        case CompositeKind::kCementSoilStrong:
            return "水泥土搅拌桩、旋喷桩（桩身强度大于 1.0 MPa 且质量均匀）";
    }
    return "";
}

bool composite_kind_from_key(std::string_view key, CompositeKind& kind) {
    for (CompositeKind k :
         {CompositeKind::kUnspecified, CompositeKind::kGravelColumn,
          CompositeKind::kCompactionColumn, CompositeKind::kCfgOnGravel, CompositeKind::kCfgOnClay,
          CompositeKind::kCementSoil, CompositeKind::kCementSoilStrong}) {
        if (composite_kind_key(k) == key) {
            kind = k;
            return true;
        }
    }
    return false;
}

}  // namespace kvd
