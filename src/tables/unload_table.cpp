#include "tables/unload_table.h"

#include <algorithm>

namespace kvd {

CUnloadTable::CUnloadTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours)
    : CTestTable(doc, metrics, colours) {}

int CUnloadTable::first_grade() const {
    return doc().record().grades.loading_grade_count();
}

int CUnloadTable::shown_grades() const {
    const CTestData& grades = doc().record().grades;
    return std::max(0, grades.grade_count() - grades.loading_grade_count());
}

}  // namespace kvd
