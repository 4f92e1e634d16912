#pragma once
// The .docx writer: a WordDocument as WordprocessingML in an Open Packaging
// Conventions zip, readable by every current word processor:
//
//   [Content_Types].xml            content types of the parts
//   _rels/.rels                    the main document and the properties
//   docProps/core.xml, app.xml     creator and application
//   word/document.xml              the body
//   word/styles.xml                fonts and size of the body text, the table styles
//   word/_rels/document.xml.rels   styles and pictures
//   word/media/imageN.wmf          the embedded pictures
//
// The XML is written straight into one string: a report of a long test has
// millions of table cells, and a general XML writer's per-node calls would
// cost more than compressing the result. Every text goes through one escape
// function, which also drops the control characters XML cannot hold.
//
// The body text is "Times New Roman" with "宋体" for Chinese, 10.5 pt; the
// table style "网格型" is stored as the built-in grid style ("TableGrid").

#include <filesystem>
#include <string>
#include <string_view>

#include "base/byte_image.h"
#include "base/status.h"
#include "output/word/word_document.h"

namespace kvd::word {

// word/document.xml of a document.
std::string document_xml(const content::WordDocument& document);

// The whole package.
Status docx_bytes(const content::WordDocument& document, Bytes& package);

// The package written to `path`, replacing an existing file only once the
// new one is complete (a failure leaves no partial file).
Status write_docx(const content::WordDocument& document, const std::filesystem::path& path);

// Text as XML character data or attribute value: &, <, > and " escaped,
// control characters other than tab, line feed and carriage return dropped.
void append_xml_text(std::string& out, std::string_view text);

}  // namespace kvd::word
