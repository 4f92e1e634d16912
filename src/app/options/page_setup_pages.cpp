#include "app/options/page_setup_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/dialog_support.h"
#include "app/options/spin_field.h"
#include "doc/paper_sizes.h"

namespace kvd {
namespace {

QString text_of(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

SpinField* number_field(QWidget* parent, int id, bool spin) {
    auto* field = new SpinField(parent);
    field->setObjectName(control_name(id));
    field->setAlignment(Qt::AlignRight);
    if (!spin) field->setButtonSymbols(QAbstractSpinBox::NoButtons);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 24);
    return field;
}

QLabel* label(QWidget* parent, const QString& text, Qt::Alignment align = Qt::AlignRight) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

// Moves the number a field shows by a spin step within [min, max]; a field
// that does not hold a number starts from `fallback`.
void step_field(SpinField* field, int steps, int min, int max, int fallback) {
    const int from = field_integer(field->edit()).value_or(fallback);
    const long long to = std::clamp<long long>(static_cast<long long>(from) + steps, min, max);
    field->set_field_text(QString::number(to));
}

// A sheet of paper with an "A" on it, upright or lying.
QPixmap paper_picture(bool landscape, const QPalette& palette) {
    const QSize size = landscape ? QSize(48, 36) : QSize(36, 48);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(palette.color(QPalette::WindowText));
    p.setBrush(palette.color(QPalette::Base));
    p.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
    QFont font = p.font();
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("A"));
    return pixmap;
}

}  // namespace

// ---- 纸张 -------------------------------------------------------------------

CPaperPage::CPaperPage(OptionSession& options, QWidget* parent)
    : OptionPageWidget(options, parent) {
    QGridLayout* paper = add_group(QStringLiteral("纸张"));
    QWidget* box = paper->parentWidget();
    papers_ = new QComboBox(box);
    papers_->setObjectName(control_name(1133));
    for (const PaperSize& size : kPaperSizes) papers_->addItem(text_of(size.text));
    paper->addWidget(label(box, QStringLiteral("纸张大小")), 0, 0);
    paper->addWidget(papers_, 0, 1, 1, 3);
    width_ = number_field(box, 1134, false);
    height_ = number_field(box, 1135, false);
    paper->addWidget(label(box, QStringLiteral("宽度")), 1, 0);
    paper->addWidget(width_, 1, 1);
    paper->addWidget(label(box, QStringLiteral("mm"), Qt::AlignLeft), 1, 2);
    paper->addWidget(label(box, QStringLiteral("高度")), 2, 0);
    paper->addWidget(height_, 2, 1);
    paper->addWidget(label(box, QStringLiteral("mm"), Qt::AlignLeft), 2, 2);
    paper->setColumnStretch(3, 1);

    QGridLayout* direction = add_group(QStringLiteral("方向"));
    QWidget* dbox = direction->parentWidget();
    orientation_ = new QButtonGroup(this);
    direction->addWidget(add_radio(orientation_, dbox, 1056, "纵向", 0), 0, 0);
    direction->addWidget(add_radio(orientation_, dbox, 1057, "横向", 1), 1, 0);
    picture_ = new QLabel(dbox);
    picture_->setFixedSize(56, 56);
    picture_->setAlignment(Qt::AlignCenter);
    direction->addWidget(picture_, 0, 1, 2, 1);
    direction->setColumnStretch(2, 1);
    column()->addStretch();

    connect(papers_, &QComboBox::activated, this, &CPaperPage::choose);
    connect(orientation_, &QButtonGroup::idClicked, this, [this](int id) { turn(id == 1); });
    for (SpinField* field : {width_, height_}) {
        connect(field, &SpinField::finished, this, &CPaperPage::check_when_left);
    }
}

void CPaperPage::load() {
    const PageSetup& setup = session().page_setup();
    papers_->setCurrentIndex(paper_index(setup));
    check_value(orientation_, setup.landscape ? 1 : 0);
    show_size();
}

void CPaperPage::show_size() {
    const PageSetup& setup = session().page_setup();
    width_->set_field_text(QString::number((setup.paper_width + 5) / 10));
    height_->set_field_text(QString::number((setup.paper_height + 5) / 10));
    const bool landscape = setup.landscape != 0;
    picture_->setPixmap(paper_picture(landscape, palette()));
    picture_->setObjectName(control_name(landscape ? 1137 : 1136));
}

void CPaperPage::choose(int index) {
    if (index == kCustomPaperIndex) {
        width_->setFocus();
        width_->selectAll();
        return;
    }
    choose_paper(session().page_setup(), index);
    show_size();
    emit changed();
}

void CPaperPage::turn(bool landscape) {
    PageSetup& setup = session().page_setup();
    if (const auto refusal = set_landscape(setup, landscape)) {
        refuse(nullptr, *refusal);
        orientation_->button(setup.landscape ? 1 : 0)->setChecked(true);
        return;
    }
    show_size();
    emit changed();
}

bool CPaperPage::finish_edits() {
    const std::optional<int> width = field_integer(width_->edit());
    if (!width) {
        refuse_not_integer(width_->edit());
        return false;
    }
    const std::optional<int> height = field_integer(height_->edit());
    if (!height) {
        refuse_not_integer(height_->edit());
        return false;
    }
    PageSetup& setup = session().page_setup();
    const PageSetup before = setup;
    if (const auto refusal = set_paper_size(setup, *width, *height)) {
        refuse(refusal->field == kPaperHeightField ? height_->edit() : width_->edit(), *refusal);
        return false;
    }
    if (setup.paper_width != before.paper_width || setup.paper_height != before.paper_height) {
        papers_->setCurrentIndex(kCustomPaperIndex);
        emit changed();
    }
    return true;
}

// ---- 页边距 -----------------------------------------------------------------

CMarginPage::CMarginPage(OptionSession& options, QWidget* parent)
    : OptionPageWidget(options, parent) {
    QGridLayout* grid = add_group(QStringLiteral("页边距"));
    QWidget* box = grid->parentWidget();
    const std::array<std::pair<int, const char*>, 5> rows = {{
        {1140, "上边距"},
        {1141, "下边距"},
        {1142, "左边距"},
        {1143, "右边距"},
        {1144, "表格行高"},
    }};
    const MarginValues fallback = margin_values(PageSetup{});
    for (int i = 0; i < 5; ++i) {
        const auto& [id, text] = rows[static_cast<std::size_t>(i)];
        SpinField* field = number_field(box, id, true);
        fields_[static_cast<std::size_t>(i)] = field;
        // The row height sits apart from the margins.
        const int row = i == kRowHeightField ? i + 1 : i;
        grid->addWidget(label(box, QString::fromUtf8(text)), row, 0);
        grid->addWidget(field, row, 1);
        grid->addWidget(label(box, QStringLiteral("mm"), Qt::AlignLeft), row, 2);
        const bool row_height = i == kRowHeightField;
        const int min = row_height ? kMinRowHeightMm : kMinMarginMm;
        const int max = row_height ? kMaxRowHeightMm : kMaxMarginMm;
        connect(field, &SpinField::stepped, this,
                [this, field, min, max, value = fallback[static_cast<std::size_t>(i)]](int steps) {
                    step_field(field, steps, min, max, value);
                    commit(false);
                });
        connect(field, &SpinField::finished, this, &CMarginPage::check_when_left);
    }
    grid->setRowMinimumHeight(kRowHeightField, 8);
    grid->setColumnStretch(3, 1);
    column()->addStretch();
}

void CMarginPage::load() {
    const MarginValues values = margin_values(session().page_setup());
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->set_field_text(QString::number(values[i]));
    }
}

bool CMarginPage::finish_edits() {
    return commit(true);
}

bool CMarginPage::commit(bool tell) {
    MarginValues values{};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const std::optional<int> value = field_integer(fields_[i]->edit());
        if (!value) {
            if (tell) refuse_not_integer(fields_[i]->edit());
            return false;
        }
        values[i] = *value;
    }
    PageSetup& setup = session().page_setup();
    if (values == margin_values(setup)) return true;
    if (const auto refusal = set_margins(setup, values)) {
        if (tell) refuse(fields_[static_cast<std::size_t>(refusal->field)]->edit(), *refusal);
        return false;
    }
    emit changed();
    return true;
}

// ---- 页码 -------------------------------------------------------------------

CPageNoPage::CPageNoPage(OptionSession& options, QWidget* parent)
    : OptionPageWidget(options, parent) {
    QGridLayout* modes = add_group(QStringLiteral("打印页码"));
    QWidget* mbox = modes->parentWidget();
    mode_ = new QButtonGroup(this);
    modes->addWidget(add_radio(mode_, mbox, 1056, "全部打印", 0), 0, 0);
    modes->addWidget(add_radio(mode_, mbox, 1057, "全部不打印", 1), 0, 1);
    modes->addWidget(add_radio(mode_, mbox, 1058, "仅表格部分打印页码", 2), 1, 0);
    modes->addWidget(add_radio(mode_, mbox, 1059, "仅曲线部分打印页码", 3), 1, 1);

    QGridLayout* grid = add_group(QStringLiteral("页码格式"));
    QWidget* box = grid->parentWidget();
    format_ = new QComboBox(box);
    format_->setObjectName(control_name(1146));
    for (std::string_view text : kPageNumberFormatTexts) format_->addItem(text_of(text));
    position_ = new QComboBox(box);
    position_->setObjectName(control_name(1148));
    for (std::string_view text : kPageNumberPositionTexts) position_->addItem(text_of(text));
    first_ = number_field(box, 1147, true);
    total_ = number_field(box, 1149, true);
    grid->addWidget(label(box, QStringLiteral("页码格式")), 0, 0);
    grid->addWidget(format_, 0, 1, 1, 2);
    grid->addWidget(label(box, QStringLiteral("页码位置")), 1, 0);
    grid->addWidget(position_, 1, 1, 1, 2);
    grid->addWidget(label(box, QStringLiteral("起始页码")), 2, 0);
    grid->addWidget(first_, 2, 1);
    grid->addWidget(label(box, QStringLiteral("总页码")), 3, 0);
    grid->addWidget(total_, 3, 1);
    grid->setColumnStretch(2, 1);
    column()->addStretch();

    connect(mode_, &QButtonGroup::idClicked, this, [this](int mode) {
        session().page_setup().page_number_mode = mode;
        emit changed();
    });
    connect(format_, &QComboBox::activated, this, [this](int format) {
        session().page_setup().page_number_format = format;
        sync_total();
        emit changed();
    });
    connect(position_, &QComboBox::activated, this, [this](int position) {
        session().page_setup().page_number_position = position;
        emit changed();
    });
    for (SpinField* field : {first_, total_}) {
        connect(field, &SpinField::stepped, this, [this, field](int steps) {
            const PageSetup& s = session().page_setup();
            step_field(field, steps, kMinPageNumber, kMaxPageNumber,
                       field == first_ ? s.first_page_number : s.total_pages);
            commit(field, false);
        });
        connect(field, &SpinField::finished, this, &CPageNoPage::check_when_left);
    }
}

void CPageNoPage::load() {
    const PageSetup& setup = session().page_setup();
    check_value(mode_, setup.page_number_mode);
    format_->setCurrentIndex(setup.page_number_format);
    position_->setCurrentIndex(setup.page_number_position);
    first_->set_field_text(QString::number(setup.first_page_number));
    total_->set_field_text(QString::number(setup.total_pages));
    sync_total();
}

void CPageNoPage::sync_total() {
    total_->setEnabled(total_pages_enabled(session().page_setup()));
}

bool CPageNoPage::finish_edits() {
    return commit(first_, true) && (!total_->isEnabled() || commit(total_, true));
}

bool CPageNoPage::commit(SpinField* field, bool tell) {
    const std::optional<int> value = field_integer(field->edit());
    if (!value) {
        if (tell) refuse_not_integer(field->edit());
        return false;
    }
    PageSetup& setup = session().page_setup();
    const int before = field == first_ ? setup.first_page_number : setup.total_pages;
    const auto refusal =
        field == first_ ? set_first_page_number(setup, *value) : set_total_pages(setup, *value);
    if (refusal) {
        if (tell) refuse(field->edit(), *refusal);
        return false;
    }
    if (*value != before) emit changed();
    return true;
}

// ---- 页眉页脚 ---------------------------------------------------------------

CHeaderFooterPage::CHeaderFooterPage(OptionSession& options, QWidget* parent)
    : OptionPageWidget(options, parent) {
    QGridLayout* grid = add_group(QStringLiteral("页眉页脚"));
    QWidget* box = grid->parentWidget();
    header_on_ = new QCheckBox(QStringLiteral(" 打印页眉"), box);
    header_on_->setObjectName(control_name(1173));
    header_ = new QLineEdit(box);
    header_->setObjectName(control_name(1171));
    footer_on_ = new QCheckBox(QStringLiteral(" 打印页脚"), box);
    footer_on_->setObjectName(control_name(1174));
    footer_ = new QLineEdit(box);
    footer_->setObjectName(control_name(1172));
    grid->addWidget(header_on_, 0, 0);
    grid->addWidget(header_, 1, 0);
    grid->setRowMinimumHeight(2, 8);
    grid->addWidget(footer_on_, 3, 0);
    grid->addWidget(footer_, 4, 0);
    // The texts take the width of the page.
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(4, 0);
    column()->addStretch();

    connect(header_on_, &QCheckBox::toggled, this, [this](bool on) {
        session().page_setup().print_header = on ? 1 : 0;
        sync_enabled();
        emit changed();
    });
    connect(footer_on_, &QCheckBox::toggled, this, [this](bool on) {
        session().page_setup().print_footer = on ? 1 : 0;
        sync_enabled();
        emit changed();
    });
    connect(header_, &QLineEdit::textEdited, this, [this](const QString& text) {
        session().page_setup().header_text = text.toStdString();
    });
    connect(footer_, &QLineEdit::textEdited, this, [this](const QString& text) {
        session().page_setup().footer_text = text.toStdString();
    });
}

void CHeaderFooterPage::load() {
    const PageSetup& setup = session().page_setup();
    header_on_->setChecked(setup.print_header != 0);
    footer_on_->setChecked(setup.print_footer != 0);
    header_->setText(QString::fromStdString(setup.header_text));
    footer_->setText(QString::fromStdString(setup.footer_text));
    sync_enabled();
}

void CHeaderFooterPage::sync_enabled() {
    header_->setEnabled(header_on_->isChecked());
    footer_->setEnabled(footer_on_->isChecked());
}

}  // namespace kvd
