#include "app/options/option_page.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"
#include "app/options/color_button.h"
#include "app/options/font_combo.h"
#include "app/options/spin_field.h"
#include "app/options/style_combos.h"

namespace kvd {

OptionPageWidget::OptionPageWidget(OptionSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    column_ = new QVBoxLayout(this);
    column_->setContentsMargins(8, 8, 8, 8);
}

QGridLayout* OptionPageWidget::add_group(const QString& title) {
    auto* group = new QGroupBox(title, this);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    // Controls keep to the left of a wide page; the space is left over on
    // the right.
    grid->setColumnStretch(4, 1);
    column_->addWidget(group);
    return grid;
}

void OptionPageWidget::load() {
    for (const auto& loader : loaders_) loader();
}

namespace {

QLabel* row_label(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace

CColorButton* OptionPageWidget::add_colour_row(QGridLayout* grid, int row, int col, int id,
                                               StyleColour* target, const QString& label) {
    auto* button = new CColorButton(grid->parentWidget());
    button->setObjectName(control_name(id));
    if (!label.isEmpty()) grid->addWidget(row_label(grid->parentWidget(), label), row, 2 * col);
    grid->addWidget(button, row, 2 * col + 1, Qt::AlignLeft);
    connect(button, &CColorButton::colour_chosen, this, [this, target](Colour colour) {
        *target = colour;
        emit changed();
    });
    on_load([button, target] { button->set_colour(*target); });
    return button;
}

CLineStyleCombo* OptionPageWidget::add_pen_style_row(QGridLayout* grid, int row, int col, int id,
                                                     int* target) {
    auto* combo = new CLineStyleCombo(grid->parentWidget());
    combo->setObjectName(control_name(id));
    grid->addWidget(row_label(grid->parentWidget(), QStringLiteral("线型")), row, 2 * col);
    grid->addWidget(combo, row, 2 * col + 1);
    connect(combo, &CLineStyleCombo::value_chosen, this, [this, target](int style) {
        *target = style;
        emit changed();
    });
    on_load([combo, target] { combo->show_value(*target); });
    return combo;
}

SpinField* OptionPageWidget::add_sized_row(QGridLayout* grid, int row, int col, int id,
                                           const QString& label, int* target,
                                           const SizedRange& range) {
    auto* field = new SpinField(grid->parentWidget());
    field->setObjectName(control_name(id));
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00000.0 mm")));
    grid->addWidget(row_label(grid->parentWidget(), label), row, 2 * col);
    grid->addWidget(field, row, 2 * col + 1, Qt::AlignLeft);
    auto* sized = new SizedField(field, target, range);
    connect(sized, &SizedField::changed, this, &OptionPageWidget::changed);
    on_load([sized] { sized->load(); });
    return field;
}

CFontCombo* OptionPageWidget::add_font_row(QGridLayout* grid, int row, int col, int id,
                                           std::string* target) {
    auto* combo = new CFontCombo(grid->parentWidget());
    combo->setObjectName(control_name(id));
    grid->addWidget(row_label(grid->parentWidget(), QStringLiteral("字体")), row, 2 * col);
    grid->addWidget(combo, row, 2 * col + 1);
    connect(combo, &CFontCombo::face_chosen, this, [this, target](const std::string& face) {
        *target = face;
        emit changed();
    });
    on_load([combo, target] { combo->show_face(*target); });
    return combo;
}

void OptionPageWidget::check_when_left() {
    // The message box of a refusal takes the focus from the field, which
    // reports that as leaving it: not a new edit to check.
    if (check_queued_ || refusing_) return;
    check_queued_ = true;
    const int refusals = refusals_;
    QTimer::singleShot(0, this, [this, refusals] {
        check_queued_ = false;
        // Not when the dialog has checked (and refused) in the meantime, nor
        // when the page or the dialog went away.
        if (refusals == refusals_ && isVisible()) finish_edits();
    });
}

void OptionPageWidget::refuse(QLineEdit* field, const FieldRefusal& refusal) {
    ++refusals_;
    const QString message =
        refusal.too_little_paper
            ? QString::fromUtf8(kTooLittlePaperMessage)
            : QString::fromUtf8(kIntegerRangeMessage).arg(refusal.min).arg(refusal.max);
    tell(field, message);
}

void OptionPageWidget::refuse_not_integer(QLineEdit* field) {
    ++refusals_;
    tell(field, QString::fromUtf8(kEnterIntegerMessage));
}

void OptionPageWidget::tell(QLineEdit* field, const QString& message) {
    const bool was = refusing_;
    refusing_ = true;
    refuse_field(field, message);
    refusing_ = was;
}

QString control_name(int id) {
    return QStringLiteral("id%1").arg(id);
}

QRadioButton* add_radio(QButtonGroup* group, QWidget* parent, int id, const char* text, int value) {
    auto* radio = new QRadioButton(QString::fromUtf8(text), parent);
    radio->setObjectName(control_name(id));
    group->addButton(radio, value);
    return radio;
}

void check_value(QButtonGroup* group, int value) {
    if (QAbstractButton* button = group->button(value)) button->setChecked(true);
}

std::optional<int> field_integer(const QLineEdit* field) {
    return parse_integer(field->text());
}

}  // namespace kvd
