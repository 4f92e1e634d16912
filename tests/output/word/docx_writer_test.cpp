// The .docx package as unzip and xmllint read it: the parts every reader
// looks for, each well-formed, the picture stored, and a target that cannot
// be written left without a partial file.

#include <gtest/gtest.h>

#include "output/command_output.h"
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "draw/wmf_canvas.h"
#include "output/word/docx_writer.h"
#include "output/word/word_objects.h"
#include "word_test_support.h"

namespace kvd::word {
namespace {

namespace fs = std::filesystem;

std::string run(const std::string& command) { return kvd::testing::command_output(command); }

class DocxPackage : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvd-docx-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(DocxPackage, PartsAreThereAndWellFormed) {
    WmfCanvas canvas(Rect::below(0, 0, 1000, 1500));
    canvas.line({0, 0}, {1000, -1500});
    ASSERT_TRUE(canvas.write(dir_ / "c.WMF").ok());
    Application app;
    Document* doc = app.documents().add("", false, 0);
    Selection selection = *app.selection();
    selection.type_text("工程 \"A&B\"");
    auto table = doc->tables().add(selection.range(), 2, 3, 1, 0);
    ASSERT_TRUE(table);
    ASSERT_TRUE(selection.inline_shapes().add_picture((dir_ / "c.WMF").string(), false, true));

    const fs::path target = dir_ / "out.docx";
    ASSERT_TRUE(write_docx(doc->content(), target).ok());
    const std::string names = run("unzip -Z1 '" + target.string() + "'");
    for (const char* part : {"[Content_Types].xml", "_rels/.rels", "word/document.xml",
                             "word/styles.xml", "word/_rels/document.xml.rels",
                             "word/media/image1.wmf", "docProps/core.xml"}) {
        EXPECT_NE(names.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(names.find("[Content_Types].xml"), 0u) << "the content types come first";
    for (const char* part : {"[[]Content_Types].xml", "_rels/.rels", "word/document.xml",
                             "word/styles.xml", "word/_rels/document.xml.rels"}) {
        const std::string xml = run("unzip -p '" + target.string() + "' '" + part + "'");
        EXPECT_GE(testing::xpath_count(xml, "/*"), 1) << part << " is not well-formed";
    }
    const std::string picture = run("unzip -p '" + target.string() + "' word/media/image1.wmf");
    const Bytes original = canvas.bytes();
    EXPECT_EQ(picture, std::string(original.begin(), original.end()));
    const std::string rels = run("unzip -p '" + target.string() + "' word/_rels/document.xml.rels");
    EXPECT_NE(rels.find("Target=\"media/image1.wmf\""), std::string::npos);

    // The same document gives the same bytes (fixed entry times).
    const fs::path again = dir_ / "again.docx";
    ASSERT_TRUE(write_docx(doc->content(), again).ok());
    EXPECT_EQ(run("cmp -s '" + target.string() + "' '" + again.string() + "' && echo same"), "same\n");

    // An unwritable target: the message, and no file at all.
    fs::create_directories(dir_ / "locked");
    fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    const Status status = write_docx(doc->content(), dir_ / "locked" / "r.docx");
    if (::geteuid() != 0) {  // root writes anywhere
        EXPECT_FALSE(status.ok());
        EXPECT_NE(status.message().find("无法保存文件"), std::string::npos);
        EXPECT_TRUE(fs::is_empty(dir_ / "locked"));
    }
    fs::permissions(dir_ / "locked", fs::perms::owner_all);
    EXPECT_FALSE(write_docx(doc->content(), dir_ / "missing" / "r.docx").ok());
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST(DocxText, EscapesMarkupAndDropsControlCharacters) {
    std::string out;
    append_xml_text(out, "a<b>&\"c\"\x01\x1f\td\xe6\xb2\x89");
    EXPECT_EQ(out, "a&lt;b&gt;&amp;&quot;c&quot;\td\xe6\xb2\x89");
}

}  // namespace
}  // namespace kvd::word
