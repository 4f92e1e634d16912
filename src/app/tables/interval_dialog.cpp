#include "app/tables/interval_dialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"
#include "tables/table_edit_commands.h"

namespace kvd {

namespace {

void add_row(QDialog* dialog, QGridLayout* grid, int row, const IntervalTable& values,
             std::array<QLineEdit*, kIntervalCount>& fields) {
    const int width = QFontMetrics(dialog->font()).horizontalAdvance(QStringLiteral("00000")) + 10;
    for (int i = 0; i < kIntervalCount; ++i) {
        auto* field = new QLineEdit(QString::number(values[static_cast<std::size_t>(i)]), dialog);
        field->setFixedWidth(width);
        field->setAlignment(Qt::AlignRight);
        grid->addWidget(field, row, i);
        fields[static_cast<std::size_t>(i)] = field;
    }
}

// Fields already checked by accept(); a field that no longer holds a whole
// number would read as 0.
IntervalTable read_row(const std::array<QLineEdit*, kIntervalCount>& fields) {
    IntervalTable values{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        values[i] = parse_integer(fields[i]->text()).value_or(0);
    }
    return values;
}

// Every field of the row a whole number of minutes, and none newly set to 0.
bool row_acceptable(const std::array<QLineEdit*, kIntervalCount>& fields,
                    const IntervalTable& initial) {
    for (QLineEdit* field : fields) {
        if (!read_whole_number_field(field, 0, kMaxInterval)) return false;
    }
    const int unplanned = first_unplanned_interval(initial, read_row(fields));
    if (unplanned < 0) return true;
    refuse_field(fields[static_cast<std::size_t>(unplanned)],
                 QString::fromUtf8(kIntervalNotPositive));
    return false;
}

}  // namespace

IntervalDialog::IntervalDialog(const IntervalTable& load, const IntervalTable& unload,
                               QWidget* parent)
    : QDialog(parent), initial_load_(load), initial_unload_(unload) {
    setWindowTitle(QStringLiteral("修改采样间隔时间"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->addWidget(new QLabel(QStringLiteral("加载采样间隔时间 (分):"), this), 0, 0, 1,
                    kIntervalCount);
    add_row(this, grid, 1, load, load_fields_);
    grid->setRowMinimumHeight(2, 8);
    grid->addWidget(new QLabel(QStringLiteral("卸载采样间隔时间 (分):"), this), 3, 0, 1,
                    kIntervalCount);
    add_row(this, grid, 4, unload, unload_fields_);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(make_ok_cancel(this));
    fix_dialog_size(this);
    load_fields_[0]->setFocus(Qt::OtherFocusReason);
}

void IntervalDialog::accept() {
    if (!row_acceptable(load_fields_, initial_load_)) return;
    if (!row_acceptable(unload_fields_, initial_unload_)) return;
    QDialog::accept();
}

IntervalTable IntervalDialog::load_intervals() const {
    return read_row(load_fields_);
}

IntervalTable IntervalDialog::unload_intervals() const {
    return read_row(unload_fields_);
}

}  // namespace kvd
