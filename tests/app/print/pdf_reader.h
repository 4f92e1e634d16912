#pragma once
// The poppler readers over a PDF a test printed: page count, paper and the
// words of a page with their boxes (points, y down from the paper's top).

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <vector>

namespace kvd::testing {

inline bool have_pdf_readers() {
    for (const char* tool : {"pdfinfo", "pdftotext"}) {
        QProcess probe;
        probe.start(QString::fromUtf8(tool), {QStringLiteral("-v")});
        if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit) {
            return false;
        }
    }
    return true;
}

inline QString reader_output(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdf_field(const QString& path, const QString& field) {
    const QString info = reader_output(QStringLiteral("pdfinfo"), {path});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^") + field + QStringLiteral(": +(.*)$"),
                           QRegularExpression::MultilineOption)
            .match(info);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

inline int pdf_pages(const QString& path) {
    bool ok = false;
    const int pages = pdf_field(path, QStringLiteral("Pages")).toInt(&ok);
    return ok ? pages : -1;
}

struct PdfWord {
    double left = 0;
    double top = 0;
    QString text;
};

inline std::vector<PdfWord> pdf_words(const QString& path, int page) {
    const QString xml = reader_output(
        QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"),
                                      QString::number(page), QStringLiteral("-l"),
                                      QString::number(page), path, QStringLiteral("-")});
    const QRegularExpression word(QStringLiteral(
        "xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"[0-9.]+\">([^<]*)<"));
    std::vector<PdfWord> words;
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    return words;
}

// The words of a page joined without white space.
inline QString pdf_text(const QString& path, int page) {
    QString text;
    for (const PdfWord& word : pdf_words(path, page)) text += word.text;
    return text;
}

}  // namespace kvd::testing
