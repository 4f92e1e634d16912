// The program's place on a desktop: the desktop entry is valid, the MIME
// types recognise test and analysis files by name and by content, and
// `cmake --install` puts everything where a desktop looks for it.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

namespace kvd::testing {
namespace {

const QString kSource = QStringLiteral(KVD_SOURCE_DIR);

// A share folder of its own holding only the program's MIME types, made
// before the first QMimeDatabase is asked (see main).
QTemporaryDir& mime_home() {
    static QTemporaryDir dir;
    return dir;
}

int run(const std::string& command) {
    return std::system(command.c_str());
}

TEST(PackagingTest, DesktopEntryIsValid) {
    const std::string entry = (kSource + QStringLiteral("/packaging/kvd.desktop")).toStdString();
    EXPECT_EQ(run("desktop-file-validate '" + entry + "'"), 0);
}

TEST(PackagingTest, TestAndAnalysisFilesAreRecognisedByNameAndByContent) {
    QMimeDatabase db;
    EXPECT_EQ(db.mimeTypeForFile(kSource + QStringLiteral("/samples/demo.PTX")).name(),
              QStringLiteral("application/x-kvd-test"));
    EXPECT_EQ(db.mimeTypeForFile(kSource + QStringLiteral("/samples/demo.KVD")).name(),
              QStringLiteral("application/x-kvd-analysis"));

    // Renamed, the tag and the file kind still tell them apart.
    QTemporaryDir dir;
    for (const auto& [sample, type] :
         {std::pair{QStringLiteral("demo.PTX"), QStringLiteral("application/x-kvd-test")},
          std::pair{QStringLiteral("demo.KVD"), QStringLiteral("application/x-kvd-analysis")}}) {
        const QString copy = dir.filePath(sample + QStringLiteral(".dat"));
        ASSERT_TRUE(QFile::copy(kSource + QStringLiteral("/samples/") + sample, copy));
        EXPECT_EQ(db.mimeTypeForFile(copy, QMimeDatabase::MatchContent).name(), type)
            << sample.toStdString();
    }
    // Another file with a test file's name is still named one (by its glob),
    // but its content alone is not.
    QFile other(dir.filePath(QStringLiteral("notes.bin")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("VXRAB and some text");
    other.close();
    EXPECT_NE(db.mimeTypeForFile(other.fileName(), QMimeDatabase::MatchContent).name(),
              QStringLiteral("application/x-kvd-test"));
}

TEST(PackagingTest, InstallPutsTheProgramEntryTypesAndIconInPlace) {
    QTemporaryDir prefix;
    const std::string command = "cmake --install '" KVD_BUILD_DIR "' --prefix '" +
                                prefix.path().toStdString() + "' > /dev/null";
    ASSERT_EQ(run(command), 0);
    for (const char* file :
         {"bin/kvd", "bin/kvdtool", "share/applications/kvd.desktop", "share/mime/packages/kvd.xml",
          "share/icons/hicolor/scalable/apps/kvd.svg"}) {
        EXPECT_TRUE(QFile::exists(prefix.filePath(QString::fromUtf8(file)))) << file;
    }
}

}  // namespace
}  // namespace kvd::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The MIME database of this run: the program's types compiled into a
    // temporary share folder that comes first.
    const QString share = kvd::testing::mime_home().path();
    QDir().mkpath(share + QStringLiteral("/mime/packages"));
    QFile::copy(kvd::testing::kSource + QStringLiteral("/packaging/kvd-mime.xml"),
                share + QStringLiteral("/mime/packages/kvd.xml"));
    const std::string update =
        "update-mime-database '" + (share + QStringLiteral("/mime")).toStdString() + "'";
    if (std::system(update.c_str()) != 0) return 1;
    setenv("XDG_DATA_HOME", share.toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_DIRS", "/usr/share", 1);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
