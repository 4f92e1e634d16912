// The program's place on a desktop: the desktop entry is valid, the MIME
// types recognise test and analysis files by name and by content,
// `cmake --install` puts everything where a desktop looks for it, and the
// Debian package installs into a root of its own from which kvd runs.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <cstdio>
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
          "share/icons/hicolor/scalable/apps/kvd.svg", "share/kvd/manual/index.html",
          "share/kvd/manual/calibration.html", "share/kvd/manual/manual.css",
          "share/kvd/manual/images/calibration_tool.png"}) {
        EXPECT_TRUE(QFile::exists(prefix.filePath(QString::fromUtf8(file)))) << file;
    }
}

std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

TEST(PackagingTest, DebianPackageInstallsIntoAThrowAwayRootAndRunsFromThere) {
    QTemporaryDir work;
    const std::string dir = work.path().toStdString();
    ASSERT_EQ(run("cpack -G DEB --config '" KVD_BUILD_DIR "/CPackConfig.cmake' -B '" + dir +
                  "/deb' > '" + dir + "/cpack.log' 2>&1"),
              0)
        << output_of("cat '" + dir + "/cpack.log'");
    const std::string deb = output_of("ls '" + dir + "'/deb/kvd_*.deb | head -n 1 | tr -d '\n'");
    ASSERT_FALSE(deb.empty());

    const std::string contents = output_of("dpkg-deb --contents '" + deb + "'");
    for (const char* file :
         {"./usr/bin/kvd", "./usr/bin/kvdtool", "./usr/share/applications/kvd.desktop",
          "./usr/share/mime/packages/kvd.xml", "./usr/share/icons/hicolor/scalable/apps/kvd.svg",
          "./usr/share/kvd/manual/index.html", "./usr/share/kvd/manual/images/open_dialog.png"}) {
        EXPECT_NE(contents.find(std::string(file) + "\n"), std::string::npos) << file;
    }
    // Run-time dependencies: the Qt libraries the programs link and the fonts.
    const std::string depends = output_of("dpkg-deb --field '" + deb + "' Depends");
    for (const char* package : {"libqt6widgets6", "libqt6gui6", "libqt6svg6", "libstdc++6",
                                "fonts-noto-cjk", "fonts-liberation"}) {
        EXPECT_NE(depends.find(package), std::string::npos) << package << " in " << depends;
    }
    EXPECT_NE(output_of("dpkg-deb --field '" + deb + "' Recommends").find("shared-mime-info"),
              std::string::npos);

    // Installed with dpkg into a root and a package database of its own.
    const std::string root = dir + "/root";
    ASSERT_EQ(run("mkdir -p '" + root + "/var/lib/dpkg/info' '" + root +
                  "/var/lib/dpkg/updates' && touch '" + root + "/var/lib/dpkg/status'"),
              0);
    ASSERT_EQ(run("dpkg --force-not-root --force-depends --force-script-chrootless --instdir='" +
                  root + "' --admindir='" + root + "/var/lib/dpkg' -i '" + deb + "' > '" + dir +
                  "/dpkg.log' 2>&1"),
              0)
        << output_of("cat '" + dir + "/dpkg.log'");
    EXPECT_NE(output_of("dpkg --admindir='" + root + "/var/lib/dpkg' -s kvd")
                  .find("Status: install ok installed"),
              std::string::npos);
    EXPECT_EQ(run("desktop-file-validate '" + root + "/usr/share/applications/kvd.desktop'"), 0);

    // kvd runs from the installed files: the window and a dialog as pictures.
    const std::string kvd = root + "/usr/bin/kvd";
    const std::string demo = (kSource + QStringLiteral("/samples/demo.PTX")).toStdString();
    ASSERT_EQ(run("QT_QPA_PLATFORM=offscreen '" + kvd + "' --grab '" + dir + "/window.png' '" +
                  demo + "' 2> /dev/null"),
              0);
    ASSERT_EQ(run("QT_QPA_PLATFORM=offscreen '" + kvd + "' --grab '" + dir +
                  "/about.png' --dialog about 2> /dev/null"),
              0);
    for (const char* picture : {"/window.png", "/about.png"}) {
        QFile file(QString::fromStdString(dir + picture));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << picture;
        EXPECT_TRUE(file.read(8).startsWith("\x89PNG")) << picture;
        EXPECT_GT(file.size(), 2000) << picture;
    }
    EXPECT_NE(output_of("'" + root + "/usr/bin/kvdtool' info '" + demo + "'").find("S-12"),
              std::string::npos);
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
