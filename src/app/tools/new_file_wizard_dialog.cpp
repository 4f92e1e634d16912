#include "app/tools/new_file_wizard_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <limits>
#include <optional>

#include "app/dialogs/dialog_support.h"
#include "doc/user_interface.h"

namespace kvd {
namespace {

QLineEdit* add_field(QDialog* dialog, QGridLayout* grid, int row, const char* caption, int value,
                     const char* unit = nullptr) {
    grid->addWidget(new QLabel(QString::fromUtf8(caption), dialog), row, 0);
    QLineEdit* field = make_number_field(dialog, 8);
    field->setText(QString::number(value));
    grid->addWidget(field, row, 1);
    if (unit) grid->addWidget(new QLabel(QString::fromUtf8(unit), dialog), row, 2);
    return field;
}

void add_interval_row(QDialog* dialog, QGridLayout* grid, int row, const IntervalTable& values,
                      std::array<QLineEdit*, kIntervalCount>& fields) {
    const int width = QFontMetrics(dialog->font()).horizontalAdvance(QStringLiteral("00000")) + 10;
    for (int i = 0; i < kIntervalCount; ++i) {
        QLineEdit* field = make_number_field(dialog, 5);
        field->setText(QString::number(values[static_cast<std::size_t>(i)]));
        field->setFixedWidth(width);
        field->setAlignment(Qt::AlignRight);
        grid->addWidget(field, row, i);
        fields[static_cast<std::size_t>(i)] = field;
    }
}

// The intervals of a row, or nothing after refusing the first field that
// does not hold a whole number. Their values are the record rules' business.
std::optional<IntervalTable> read_intervals(const std::array<QLineEdit*, kIntervalCount>& fields) {
    IntervalTable table{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::optional<int> value = read_whole_number_field(fields[i]);
        if (!value) return std::nullopt;
        table[i] = *value;
    }
    return table;
}

}  // namespace

CNewFileWizard::CNewFileWizard(UserInterface& ui, QWidget* parent, const WizardInput& initial)
    : QDialog(parent), ui_(ui), input_(initial) {
    setObjectName(QStringLiteral("new_file_wizard"));
    setWindowTitle(QStringLiteral("建立一个新文件"));
    auto* layout = new QVBoxLayout(this);

    auto* form = new QGridLayout;
    form->setColumnStretch(3, 1);
    max_load_ = add_field(this, form, 0, "最大预估载荷:", initial.max_load, "kN");
    grades_ = add_field(this, form, 1, "分级数:", initial.grades);
    multiple_ = add_field(this, form, 2, "首次加载级数:", initial.first_multiple);
    layout->addLayout(form);

    unloading_ = new QCheckBox(QStringLiteral("包含卸载数据"), this);
    unloading_->setChecked(initial.include_unloading);
    layout->addWidget(unloading_);
    layout->addSpacing(6);

    auto* intervals = new QGridLayout;
    intervals->setHorizontalSpacing(4);
    intervals->addWidget(new QLabel(QStringLiteral("加载采样间隔时间 (分):"), this), 0, 0, 1,
                         kIntervalCount);
    add_interval_row(this, intervals, 1, initial.load_intervals, load_fields_);
    intervals->setRowMinimumHeight(2, 8);
    intervals->addWidget(new QLabel(QStringLiteral("卸载采样间隔时间 (分):"), this), 3, 0, 1,
                         kIntervalCount);
    add_interval_row(this, intervals, 4, initial.unload_intervals, unload_fields_);
    layout->addLayout(intervals);
    layout->addSpacing(6);
    layout->addWidget(make_ok_cancel(this));
    fix_dialog_size(this);
    max_load_->setFocus(Qt::OtherFocusReason);
    max_load_->selectAll();
}

void CNewFileWizard::accept() {
    WizardInput typed;
    const std::optional<int> max_load =
        read_whole_number_field(max_load_, kWizardMaxLoadMin, kWizardMaxLoadMax);
    if (!max_load) return;
    const std::optional<int> grades =
        read_whole_number_field(grades_, kWizardGradesMin, kWizardGradesMax);
    if (!grades) return;
    const std::optional<int> multiple =
        read_whole_number_field(multiple_, kWizardMultipleMin, kWizardMultipleMax);
    if (!multiple) return;
    const std::optional<IntervalTable> load = read_intervals(load_fields_);
    if (!load) return;
    const std::optional<IntervalTable> unload = read_intervals(unload_fields_);
    if (!unload) return;

    typed.max_load = *max_load;
    typed.grades = *grades;
    typed.first_multiple = *multiple;
    typed.include_unloading = unloading_->isChecked();
    typed.load_intervals = *load;
    typed.unload_intervals = *unload;
    if (const Status status = validate(typed); !status.ok()) {
        // Nothing is created; the user corrects the values or cancels.
        ui_.beep();
        ui_.show_error(status.message());
        return;
    }
    input_ = typed;
    QDialog::accept();
}

}  // namespace kvd
