#include "tables/load_table.h"

namespace kvd {

CLoadTable::CLoadTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours)
    : CTestTable(doc, metrics, colours) {}

int CLoadTable::shown_grades() const {
    return doc().record().grades.loading_grade_count();
}

}  // namespace kvd
