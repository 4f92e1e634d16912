#include "app/frame/qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <utility>
#include <vector>

#include "app/curves/coord_dialog.h"
#include "app/dialogs/dialog_support.h"
#include "app/curves/export_dialog.h"
#include "app/tables/interval_dialog.h"
#include "app/curves/marked_dialog.h"
#include "app/dialogs/number_dialog.h"

namespace kvd {

namespace {

// The pairs of a "描述|*.A;*.B|描述|*.C||" filter.
std::vector<std::pair<QString, QStringList>> filter_pairs(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    std::vector<std::pair<QString, QStringList>> pairs;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'))) {
            if (!pattern.trimmed().isEmpty()) patterns << pattern.trimmed();
        }
        if (description.isEmpty() && patterns.isEmpty()) break;  // the closing "||"
        pairs.emplace_back(description, patterns);
    }
    return pairs;
}

}  // namespace

QString QtUserInterface::qt_file_filter(const std::string& filter) {
    QStringList filters;
    for (auto [description, patterns] : filter_pairs(filter)) {
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        // Qt reads the patterns from the last parentheses, separated by
        // blanks: a description that names them ("文件(*.A;*.B)") gets them
        // in that form instead of twice.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')'))) {
            description = description.left(open).trimmed();
            filters << description + QLatin1Char('(') + patterns.join(QLatin1Char(' ')) +
                           QLatin1Char(')');
        } else {
            filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                           QLatin1Char(')');
        }
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtUserInterface::default_suffix(const std::string& filter) {
    const auto pairs = filter_pairs(filter);
    if (pairs.empty() || pairs.front().second.isEmpty()) return {};
    const QString& pattern = pairs.front().second.front();
    if (!pattern.startsWith(QStringLiteral("*."))) return {};
    const QString suffix = pattern.mid(2);
    if (suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?'))) return {};
    return suffix;
}

QWidget* QtUserInterface::dialog_parent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return parent_.data();
}

MessageAnswer QtUserInterface::message_box(const std::string& text, const std::string& caption,
                                           MessageButtons buttons, MessageIcon icon) {
    return show_message_box(dialog_parent(), QString::fromStdString(text),
                            QString::fromStdString(caption), buttons, icon);
}

void QtUserInterface::beep() {
    QApplication::beep();
}

std::optional<std::string> QtUserInterface::ask_save_path(const SaveDialogRequest& request) {
    QFileDialog dialog(dialog_parent(), QString::fromStdString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    set_file_dialog_texts(&dialog);
    const QString filter = qt_file_filter(request.filter);
    if (!filter.isEmpty()) dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(default_suffix(request.filter));
    if (!request.initial_folder.empty()) {
        dialog.setDirectory(QString::fromStdString(request.initial_folder));
    }
    const QString proposed = QString::fromStdString(request.proposed_name);
    if (!proposed.isEmpty()) {
        const QFileInfo info(proposed);
        if (info.isAbsolute()) dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.isAbsolute() ? info.fileName() : proposed);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
    return files.front().toStdString();
}

std::optional<double> QtUserInterface::ask_number(const NumberDialogRequest& request) {
    NumberDialog dialog(request, dialog_parent());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.value();
}

bool QtUserInterface::ask_intervals(IntervalTable& load, IntervalTable& unload) {
    IntervalDialog dialog(load, unload, dialog_parent());
    if (dialog.exec() != QDialog::Accepted) return false;
    load = dialog.load_intervals();
    unload = dialog.unload_intervals();
    return true;
}

std::optional<AxesDialogState> QtUserInterface::ask_axes(const AxesDialogState& initial,
                                                         const AxesValidator& validate) {
    CCoordDialog dialog(initial, validate, dialog_parent());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.state();
}

std::optional<MarkDialogState> QtUserInterface::ask_mark(const MarkDialogState& initial,
                                                         const MarkCalculator& calculate) {
    CMarkedDialog dialog(initial, calculate, dialog_parent());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.state();
}

std::optional<ExportOptions> QtUserInterface::ask_export_options(const ExportOptions& initial) {
    CExportDialog dialog(initial, dialog_parent());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.options();
}

}  // namespace kvd
