#include "tables/table_factory.h"

#include "tables/change_table.h"
#include "tables/gather_table.h"
#include "tables/load_table.h"
#include "tables/mz_table.h"
#include "tables/source_table.h"
#include "tables/unload_table.h"

namespace kvd {

const std::vector<TableName>& table_names() {
    static const std::vector<TableName> names = {
        {TableKind::kSummary, "summary"}, {TableKind::kLoad, "load"},
        {TableKind::kUnload, "unload"},   {TableKind::kAnchor, "anchor"},
        {TableKind::kRaw, "raw"},         {TableKind::kChanges, "changes"},
    };
    return names;
}

bool table_kind_from_key(std::string_view key, TableKind& kind) {
    for (const TableName& name : table_names()) {
        if (key == name.key) {
            kind = name.kind;
            return true;
        }
    }
    return false;
}

std::unique_ptr<CMyGrid> make_table(TableKind kind, CLbxDoc& doc, const FontMetrics& metrics) {
    switch (kind) {
        case TableKind::kSummary:
            return std::make_unique<CGatherTable>(doc, metrics);
        case TableKind::kLoad:
            return std::make_unique<CLoadTable>(doc, metrics);
        case TableKind::kUnload:
            return std::make_unique<CUnloadTable>(doc, metrics);
        case TableKind::kRaw:
            return std::make_unique<CSourceTable>(doc, metrics);
        case TableKind::kChanges:
            return std::make_unique<CChangeTable>(doc, metrics);
        case TableKind::kAnchor:
            return std::make_unique<CMZTable>(doc, metrics);
    }
    return nullptr;
}

}  // namespace kvd
