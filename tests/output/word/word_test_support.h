#pragma once
// What the word tests share: the text of a content cell, an XPath count over
// the body XML (namespace prefix w), and running a program.

#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <cstdlib>
#include <string>

#include "output/word/word_document.h"

namespace kvd::word::testing {

inline const content::Table& table_at(const content::WordDocument& doc, std::size_t block) {
    return std::get<content::Table>(doc.body.at(block));
}

inline std::string cell_text(const content::Table& t, int row, int cell) {
    return t.rows.at(static_cast<std::size_t>(row)).cells.at(static_cast<std::size_t>(cell)).text();
}

// Number of nodes an XPath expression finds in XML; -1 when the XML is not
// well-formed.
inline int xpath_count(const std::string& xml, const char* expression) {
    xmlDocPtr doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "part.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) return -1;
    xmlXPathContextPtr context = xmlXPathNewContext(doc);
    xmlXPathRegisterNs(context, BAD_CAST "w",
                       BAD_CAST "http://schemas.openxmlformats.org/wordprocessingml/2006/main");
    xmlXPathRegisterNs(context, BAD_CAST "wp",
                       BAD_CAST "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
    xmlXPathObjectPtr result = xmlXPathEvalExpression(BAD_CAST expression, context);
    int count = -1;
    if (result) {
        count = result->type == XPATH_NODESET && result->nodesetval ? result->nodesetval->nodeNr
                : result->type == XPATH_NUMBER                     ? static_cast<int>(result->floatval)
                                                                   : -1;
        xmlXPathFreeObject(result);
    }
    xmlXPathFreeContext(context);
    xmlFreeDoc(doc);
    return count;
}

}  // namespace kvd::word::testing
