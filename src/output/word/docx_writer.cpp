#include "output/word/docx_writer.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "base/file_io.h"
#include "output/word/docx_parts.h"
#include "output/word/zip_package.h"

namespace kvd::word {

using namespace content;

namespace {

void append_int(std::string& out, long long value) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end);
}

// attribute="value" for a number.
void append_attribute(std::string& out, std::string_view name, long long value) {
    out += ' ';
    out += name;
    out += "=\"";
    append_int(out, value);
    out += '"';
}

const char* alignment_value(Alignment alignment) {
    switch (alignment) {
        case Alignment::kCentre:
            return "center";
        case Alignment::kRight:
            return "right";
        case Alignment::kJustify:
            return "both";
        case Alignment::kLeft:
            break;
    }
    return nullptr;
}

class BodyWriter {
public:
    explicit BodyWriter(const WordDocument& document) : doc_(document) {}

    std::string write() {
        out_.reserve(4096);
        out_ += kDocumentStart;
        const std::size_t blocks = doc_.body.size();
        for (std::size_t i = 0; i < blocks; ++i) {
            const Block& block = doc_.body[i];
            if (const auto* p = std::get_if<Paragraph>(&block)) {
                // The paragraph a document must have after its last table,
                // when empty, is one point high so that it cannot push a
                // page of its own behind a table that fills the page.
                const bool closing = i + 1 == blocks && i > 0 && p->runs.empty() &&
                                     std::holds_alternative<Table>(doc_.body[i - 1]);
                if (closing)
                    out_ += kClosingParagraph;
                else
                    paragraph(*p);
            } else {
                table(std::get<Table>(block));
            }
        }
        section();
        out_ += "</w:body></w:document>";
        return std::move(out_);
    }

private:
    void paragraph(const Paragraph& p) {
        out_ += "<w:p>";
        if (const char* jc = alignment_value(p.alignment)) {
            out_ += "<w:pPr><w:jc w:val=\"";
            out_ += jc;
            out_ += "\"/></w:pPr>";
        }
        for (const Run& run : p.runs) this->run(run);
        out_ += "</w:p>";
    }

    void run_properties(const RunFont& font) {
        if (!font.bold && font.half_points == kDefaultHalfPoints) return;
        out_ += "<w:rPr>";
        if (font.bold) out_ += "<w:b/><w:bCs/>";
        if (font.half_points != kDefaultHalfPoints) {
            out_ += "<w:sz";
            append_attribute(out_, "w:val", font.half_points);
            out_ += "/><w:szCs";
            append_attribute(out_, "w:val", font.half_points);
            out_ += "/>";
        }
        out_ += "</w:rPr>";
    }

    void run(const Run& run) {
        if (run.page_break) {
            out_ += "<w:r><w:br w:type=\"page\"/></w:r>";
            return;
        }
        if (run.picture >= 0) {
            out_ += "<w:r>";
            run_properties(run.font);
            picture(run.picture);
            out_ += "</w:r>";
            return;
        }
        if (run.text.empty()) return;
        out_ += "<w:r>";
        run_properties(run.font);
        // Line breaks and tabs are elements of their own between text pieces.
        std::size_t start = 0;
        while (start <= run.text.size()) {
            const std::size_t end = run.text.find_first_of("\n\t", start);
            const std::string_view piece =
                std::string_view(run.text).substr(start, end == std::string::npos ? std::string::npos
                                                                                  : end - start);
            if (!piece.empty()) {
                out_ += "<w:t xml:space=\"preserve\">";
                append_xml_text(out_, piece);
                out_ += "</w:t>";
            }
            if (end == std::string::npos) break;
            out_ += run.text[end] == '\n' ? "<w:br/>" : "<w:tab/>";
            start = end + 1;
        }
        out_ += "</w:r>";
    }

    void picture(int index) {
        const Picture& p = doc_.pictures[static_cast<std::size_t>(index)];
        const long long cx = p.width_emu * p.scale_percent / 100;
        const long long cy = p.height_emu * p.scale_percent / 100;
        const int id = index + 1;
        out_ += "<w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent";
        append_attribute(out_, "cx", cx);
        append_attribute(out_, "cy", cy);
        out_ += "/><wp:docPr";
        append_attribute(out_, "id", id);
        out_ += " name=\"图片 ";
        append_int(out_, id);
        out_ += "\"/><wp:cNvGraphicFramePr><a:graphicFrameLocks noChangeAspect=\"1\"/>"
                "</wp:cNvGraphicFramePr><a:graphic><a:graphicData uri=\"";
        out_ += kPictureNamespace;
        out_ += "\"><pic:pic><pic:nvPicPr><pic:cNvPr";
        append_attribute(out_, "id", id);
        out_ += " name=\"";
        out_ += picture_part_name(index, p);
        out_ += "\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"";
        out_ += picture_relationship_id(index);
        out_ += "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm>"
                "<a:off x=\"0\" y=\"0\"/><a:ext";
        append_attribute(out_, "cx", cx);
        append_attribute(out_, "cy", cy);
        out_ += "/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr>"
                "</pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing>";
    }

    void table(const Table& t) {
        // The grid: every cell edge of every row.
        std::vector<int> edges{0};
        std::vector<int> row_edges;
        std::vector<int> previous;
        for (const Row& row : t.rows) {
            row_edges.clear();
            int x = 0;
            for (const Cell& c : row.cells) row_edges.push_back(x += c.width);
            // Long tables repeat the same row shape: each shape once.
            if (row_edges == previous) continue;
            edges.insert(edges.end(), row_edges.begin(), row_edges.end());
            previous.swap(row_edges);
        }
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        auto edge_index = [&](int x) {
            return static_cast<int>(std::lower_bound(edges.begin(), edges.end(), x) - edges.begin());
        };

        out_ += "<w:tbl><w:tblPr>";
        if (t.style == kGridTableStyle) out_ += "<w:tblStyle w:val=\"TableGrid\"/>";
        out_ += "<w:tblW w:w=\"0\" w:type=\"auto\"/>";
        if (t.borders) out_ += kSingleBorders;
        if (t.fixed_layout) out_ += "<w:tblLayout w:type=\"fixed\"/>";
        table_look(t);
        out_ += "</w:tblPr><w:tblGrid>";
        for (std::size_t i = 1; i < edges.size(); ++i) {
            out_ += "<w:gridCol";
            append_attribute(out_, "w:w", edges[i] - edges[i - 1]);
            out_ += "/>";
        }
        out_ += "</w:tblGrid>";
        for (const Row& row : t.rows) {
            out_ += "<w:tr>";
            const bool height = row.height_rule != HeightRule::kAuto && row.height > 0;
            if (height || row.heading) {
                out_ += "<w:trPr>";
                if (height) {
                    out_ += "<w:trHeight";
                    append_attribute(out_, "w:val", row.height);
                    out_ += row.height_rule == HeightRule::kExactly ? " w:hRule=\"exact\"/>"
                                                                    : " w:hRule=\"atLeast\"/>";
                }
                if (row.heading) out_ += "<w:tblHeader/>";
                out_ += "</w:trPr>";
            }
            int x = 0;
            for (const Cell& c : row.cells) {
                const int span = edge_index(x + c.width) - edge_index(x);
                x += c.width;
                cell(c, span);
            }
            out_ += "</w:tr>";
        }
        out_ += "</w:tbl>";
    }

    void table_look(const Table& t) {
        static constexpr int kLookBits[] = {0x0020, 0x0040, 0x0080, 0x0100};
        static constexpr const char* kLookNames[] = {"w:firstRow", "w:lastRow", "w:firstColumn",
                                                     "w:lastColumn"};
        int bits = 0x0600;  // no row or column banding
        for (std::size_t i = 0; i < t.look.size(); ++i) {
            if (t.look[i]) bits |= kLookBits[i];
        }
        static constexpr char kHex[] = "0123456789ABCDEF";
        out_ += "<w:tblLook w:val=\"";
        for (int shift = 12; shift >= 0; shift -= 4) out_ += kHex[(bits >> shift) & 0xF];
        out_ += '"';
        for (std::size_t i = 0; i < t.look.size(); ++i) {
            append_attribute(out_, kLookNames[i], t.look[i] ? 1 : 0);
        }
        out_ += " w:noHBand=\"1\" w:noVBand=\"1\"/>";
    }

    void cell(const Cell& c, int span) {
        out_ += "<w:tc><w:tcPr><w:tcW";
        append_attribute(out_, "w:w", c.width);
        out_ += " w:type=\"dxa\"/>";
        if (span > 1) {
            out_ += "<w:gridSpan";
            append_attribute(out_, "w:val", span);
            out_ += "/>";
        }
        if (c.merge == VerticalMerge::kRestart) out_ += "<w:vMerge w:val=\"restart\"/>";
        if (c.merge == VerticalMerge::kContinue) out_ += "<w:vMerge/>";
        if (c.vertical == VerticalAlignment::kCentre) out_ += "<w:vAlign w:val=\"center\"/>";
        if (c.vertical == VerticalAlignment::kBottom) out_ += "<w:vAlign w:val=\"bottom\"/>";
        out_ += "</w:tcPr>";
        for (const Paragraph& p : c.paragraphs) paragraph(p);
        if (c.paragraphs.empty()) out_ += "<w:p/>";  // a cell holds at least one paragraph
        out_ += "</w:tc>";
    }

    void section() {
        const PageLayout& page = doc_.page;
        out_ += "<w:sectPr><w:pgSz";
        append_attribute(out_, "w:w", page.width);
        append_attribute(out_, "w:h", page.height);
        out_ += "/><w:pgMar";
        append_attribute(out_, "w:top", page.top);
        append_attribute(out_, "w:right", page.right);
        append_attribute(out_, "w:bottom", page.bottom);
        append_attribute(out_, "w:left", page.left);
        out_ += " w:header=\"851\" w:footer=\"992\" w:gutter=\"0\"/></w:sectPr>";
    }

    const WordDocument& doc_;
    std::string out_;
};

}  // namespace

void append_xml_text(std::string& out, std::string_view text) {
    std::size_t plain = 0;  // start of the characters not yet copied
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const char* replacement = nullptr;
        switch (c) {
            case '&':
                replacement = "&amp;";
                break;
            case '<':
                replacement = "&lt;";
                break;
            case '>':
                replacement = "&gt;";
                break;
            case '"':
                replacement = "&quot;";
                break;
            default:
                if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') replacement = "";
                break;
        }
        if (!replacement) continue;
        out.append(text.substr(plain, i - plain));
        out += replacement;
        plain = i + 1;
    }
    out.append(text.substr(plain));
}

std::string document_xml(const WordDocument& document) { return BodyWriter(document).write(); }

Status docx_bytes(const WordDocument& document, Bytes& package) {
    const std::string body = document_xml(document);
    const DocxParts parts = docx_parts(document);
    auto view = [](const std::string& text) {
        return ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    std::vector<ZipEntry> entries = {
        {"[Content_Types].xml", view(parts.content_types)},
        {"_rels/.rels", view(parts.package_relationships)},
        {"docProps/core.xml", view(parts.core_properties)},
        {"docProps/app.xml", view(parts.app_properties)},
        {"word/document.xml", view(body)},
        {"word/styles.xml", view(parts.styles)},
        {"word/_rels/document.xml.rels", view(parts.document_relationships)},
    };
    for (std::size_t i = 0; i < document.pictures.size(); ++i) {
        const Picture& p = document.pictures[i];
        entries.push_back({"word/media/" + picture_part_name(static_cast<int>(i), p), p.data});
    }
    return zip_entries(entries, package);
}

Status write_docx(const WordDocument& document, const std::filesystem::path& path) {
    Bytes package;
    Status status = docx_bytes(document, package);
    if (!status.ok()) return status;
    return replace_file_atomically(path, package);
}

}  // namespace kvd::word
