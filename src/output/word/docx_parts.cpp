#include "output/word/docx_parts.h"

#include <set>

namespace kvd::word {
namespace {

constexpr char kXmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr char kRelationshipsNamespace[] =
    "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char kOfficeRelationships[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";


std::string relationship(const std::string& id, const std::string& type, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + type + "\" Target=\"" + target + "\"/>";
}

}  // namespace

const char kDocumentStart[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><w:body>";

const char kClosingParagraph[] =
    "<w:p><w:pPr><w:spacing w:before=\"0\" w:after=\"0\" w:line=\"20\" w:lineRule=\"exact\"/>"
    "<w:rPr><w:sz w:val=\"2\"/><w:szCs w:val=\"2\"/></w:rPr></w:pPr></w:p>";

// Lines of the grid: 0.5 pt (sz counts eighths of a point), black.
const char kSingleBorders[] =
    "<w:tblBorders>"
    "<w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:left w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:right w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:insideH w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:insideV w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "</w:tblBorders>";

std::string picture_part_name(int index, const content::Picture& picture) {
    return "image" + std::to_string(index + 1) + "." + picture.extension;
}

std::string picture_relationship_id(int index) { return "rIdImage" + std::to_string(index + 1); }

DocxParts docx_parts(const content::WordDocument& document) {
    DocxParts parts;

    std::set<std::pair<std::string, std::string>> picture_types;
    for (const content::Picture& p : document.pictures) picture_types.insert({p.extension, p.content_type});
    parts.content_types = std::string(kXmlDeclaration) +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    for (const auto& [extension, type] : picture_types) {
        parts.content_types += "<Default Extension=\"" + extension + "\" ContentType=\"" + type + "\"/>";
    }
    parts.content_types +=
        "<Override PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
        "<Override PartName=\"/word/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
        "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
        "<Override PartName=\"/docProps/app.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
        "</Types>";

    parts.package_relationships = std::string(kXmlDeclaration) + "<Relationships xmlns=\"" +
        kRelationshipsNamespace + "\">" +
        relationship("rId1", std::string(kOfficeRelationships) + "/officeDocument", "word/document.xml") +
        relationship("rId2", "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties",
                     "docProps/core.xml") +
        relationship("rId3", std::string(kOfficeRelationships) + "/extended-properties", "docProps/app.xml") +
        "</Relationships>";

    parts.core_properties = std::string(kXmlDeclaration) +
        "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\""
        " xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:creator>kvd</dc:creator></cp:coreProperties>";
    parts.app_properties = std::string(kXmlDeclaration) +
        "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
        "<Application>kvd</Application></Properties>";

    parts.styles = std::string(kXmlDeclaration) +
        "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:docDefaults><w:rPrDefault><w:rPr>"
        "<w:rFonts w:ascii=\"Times New Roman\" w:hAnsi=\"Times New Roman\" w:eastAsia=\"宋体\" w:cs=\"Times New Roman\"/>"
        "<w:kern w:val=\"2\"/><w:sz w:val=\"21\"/><w:szCs w:val=\"21\"/>"
        "<w:lang w:val=\"en-US\" w:eastAsia=\"zh-CN\" w:bidi=\"ar-SA\"/></w:rPr></w:rPrDefault>"
        "<w:pPrDefault/></w:docDefaults>"
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
        "<w:qFormat/><w:pPr><w:widowControl w:val=\"0\"/></w:pPr></w:style>"
        "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/>"
        "<w:uiPriority w:val=\"99\"/><w:semiHidden/><w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/>"
        "<w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/><w:left w:w=\"57\" w:type=\"dxa\"/>"
        "<w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"57\" w:type=\"dxa\"/></w:tblCellMar>"
        "</w:tblPr></w:style>"
        "<w:style w:type=\"table\" w:styleId=\"TableGrid\"><w:name w:val=\"Table Grid\"/>"
        "<w:basedOn w:val=\"TableNormal\"/><w:uiPriority w:val=\"59\"/><w:tblPr>" +
        std::string(kSingleBorders) + "</w:tblPr></w:style></w:styles>";

    parts.document_relationships = std::string(kXmlDeclaration) + "<Relationships xmlns=\"" +
        kRelationshipsNamespace + "\">" +
        relationship("rIdStyles", std::string(kOfficeRelationships) + "/styles", "styles.xml");
    for (std::size_t i = 0; i < document.pictures.size(); ++i) {
        const int index = static_cast<int>(i);
        parts.document_relationships +=
            relationship(picture_relationship_id(index), std::string(kOfficeRelationships) + "/image",
                         "media/" + picture_part_name(index, document.pictures[i]));
    }
    parts.document_relationships += "</Relationships>";
    return parts;
}

}  // namespace kvd::word
