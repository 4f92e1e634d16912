#pragma once
// The six tables by name, as the sheets, the print job and kvdtool make them.

#include <memory>
#include <string_view>
#include <vector>

#include "tables/my_grid.h"

namespace kvd {

enum class TableKind { kSummary, kLoad, kUnload, kRaw, kChanges, kAnchor };

struct TableName {
    TableKind kind;
    const char* key;  // kvdtool's name: summary, load, unload, raw, changes, anchor
};

// The tables in print order: summary, loading, unloading, anchor pile, raw
// record, modification record.
const std::vector<TableName>& table_names();
// The kind named by key; false for an unknown key.
bool table_kind_from_key(std::string_view key, TableKind& kind);

std::unique_ptr<CMyGrid> make_table(TableKind kind, CLbxDoc& doc, const FontMetrics& metrics);

}  // namespace kvd
