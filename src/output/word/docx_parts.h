#pragma once
// The fixed parts of a .docx package and the names that tie the body to its
// pictures (docx_writer.h puts them together).

#include <string>

#include "output/word/word_document.h"

namespace kvd::word {

inline constexpr char kPictureNamespace[] =
    "http://schemas.openxmlformats.org/drawingml/2006/picture";

// word/document.xml up to the first block of the body.
extern const char kDocumentStart[];
// An empty paragraph one point high.
extern const char kClosingParagraph[];
// Single lines round and between all cells of a table.
extern const char kSingleBorders[];

struct DocxParts {
    std::string content_types;
    std::string package_relationships;
    std::string core_properties;
    std::string app_properties;
    std::string styles;
    std::string document_relationships;
};

DocxParts docx_parts(const content::WordDocument& document);

// "image3.wmf" for picture 2 (from 0), its part under word/media/.
std::string picture_part_name(int index, const content::Picture& picture);
// "rIdImage3": the body's reference to it.
std::string picture_relationship_id(int index);

}  // namespace kvd::word
