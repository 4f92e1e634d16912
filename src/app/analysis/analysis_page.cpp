#include "app/analysis/analysis_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <ctime>

#include "analysis/bearing_analysis.h"
#include "analysis/choice_of_rule.h"
#include "app/analysis/analysis_texts.h"
#include "app/dialogs/dialog_support.h"
#include "base/numeric.h"
#include "base/text_codec.h"

namespace kvd {
namespace {

constexpr int kCompositeKinds = static_cast<int>(CompositeKind::kCementSoilStrong) + 1;

QString text_of(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

AnalysisPage::AnalysisPage(CLbxDoc& doc, QWidget* parent, Clock clock)
    : QWidget(parent), doc_(doc), clock_(std::move(clock)) {
    if (!clock_) clock_ = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
    // The sheet's light tab font is not the page's: the page reads in the
    // program's normal font.
    setFont(QApplication::font());
    view_ = new QTextBrowser(this);
    view_->setOpenLinks(false);
    view_->setFrameShape(QFrame::NoFrame);
    connect(view_, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { choose_link(url.toString()); });

    // The pane is wide and short: the page on the left, and beside it a
    // column with the settings of the test's family (the others hidden) and
    // the engineer's choice.
    modulus_label_ = new QLabel(QString::fromUtf8("弹性模量 (MPa)"), this);
    modulus_ = make_number_field(this, 8);
    modulus_->setToolTip(QString::fromUtf8("未填时按 C30 混凝土 3.00×10⁴ MPa 计（假定）"));
    take_005d_ = new QCheckBox(QString::fromUtf8("D ≥ 800 mm 时按 0.05D 取值"), this);
    ratio_label_ = new QLabel(QString::fromUtf8("相对变形 s/b"), this);
    ratio_ = make_number_field(this, 6);
    composite_label_ = new QLabel(QString::fromUtf8("复合地基类型"), this);
    composite_ = new QComboBox(this);
    composite_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    composite_->setMinimumContentsLength(8);
    for (int k = 0; k < kCompositeKinds; ++k) {
        const QString title =
            text_of(std::string(composite_kind_title(static_cast<CompositeKind>(k))));
        composite_->addItem(title);
        composite_->setItemData(k, title, Qt::ToolTipRole);
    }
    manual_value_ = make_number_field(this, 8);
    at_least_ = new QCheckBox(QString::fromUtf8("不小于"), this);
    note_ = new QLineEdit(this);
    note_->setPlaceholderText(QString::fromUtf8("说明（可空）"));
    manual_ = new QPushButton(QString::fromUtf8("手动取值"), this);
    clear_ = new QPushButton(QString::fromUtf8("清除选定"), this);

    auto* column = new QGridLayout;
    column->setContentsMargins(6, 4, 6, 4);
    column->setVerticalSpacing(4);
    column->addWidget(modulus_label_, 0, 0);
    column->addWidget(modulus_, 0, 1);
    column->addWidget(take_005d_, 1, 0, 1, 2);
    column->addWidget(ratio_label_, 2, 0);
    column->addWidget(ratio_, 2, 1);
    column->addWidget(composite_label_, 3, 0);
    column->addWidget(composite_, 3, 1);
    column->addWidget(new QLabel(QString::fromUtf8("取值"), this), 4, 0);
    auto* value_row = new QHBoxLayout;
    value_row->addWidget(manual_value_, 1);
    value_row->addWidget(at_least_);
    column->addLayout(value_row, 4, 1);
    column->addWidget(note_, 5, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(manual_);
    buttons->addWidget(clear_);
    column->addLayout(buttons, 6, 0, 1, 2);
    column->setRowStretch(7, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addLayout(column);

    connect(modulus_, &QLineEdit::editingFinished, this, [this] {
        if (modulus_->isModified()) set_modulus_text(modulus_->text());
    });
    connect(ratio_, &QLineEdit::editingFinished, this, [this] {
        if (ratio_->isModified()) set_ratio_text(ratio_->text());
    });
    connect(take_005d_, &QCheckBox::toggled, this, [this](bool on) { set_take_005d(on); });
    connect(composite_, &QComboBox::activated, this,
            [this](int index) { set_composite_kind(static_cast<CompositeKind>(index)); });
    connect(manual_, &QPushButton::clicked, this, [this] {
        choose_manual(manual_value_->text(), at_least_->isChecked(), note_->text());
    });
    connect(clear_, &QPushButton::clicked, this, [this] { clear_choice(); });
    refresh_controls();
}

void AnalysisPage::on_document_update(int hint) {
    // Storing the pages' pending edits changes nothing the analysis reads.
    if (hint == hint::kStorePages || hint == hint::kStoreProjectPage) return;
    stale_ = true;
    if (isVisible()) refresh();
}

const TestAnalysis& AnalysisPage::analysis() {
    if (stale_) refresh();
    return analysis_;
}

void AnalysisPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) refresh();
}

void AnalysisPage::refresh() {
    analysis_ = analyse_test(doc_.record(), options_);
    ++runs_;
    stale_ = false;
    // The reader keeps their place when the page is written again.
    QScrollBar* bar = view_->verticalScrollBar();
    const int scrolled = bar->value();
    view_->setHtml(text_of(analysis_page_html(analysis_, doc_.record().engineer_choice)));
    bar->setValue(scrolled);
    refresh_controls();
    emit analysis_shown();
}

void AnalysisPage::refresh_controls() {
    const TestFamily family = analysis_.family;
    const bool supported = family != TestFamily::kUnsupported;
    const bool plate = family == TestFamily::kShallowPlate || family == TestFamily::kDeepPlate;
    const bool pile = family == TestFamily::kPileCompression;
    const bool composite = family == TestFamily::kComposite;
    for (QWidget* widget : {static_cast<QWidget*>(modulus_label_), static_cast<QWidget*>(modulus_),
                            static_cast<QWidget*>(take_005d_)}) {
        widget->setVisible(pile);
    }
    ratio_label_->setVisible(plate);
    ratio_->setVisible(plate);
    composite_label_->setVisible(composite);
    composite_->setVisible(composite);
    manual_value_->setEnabled(supported);
    at_least_->setEnabled(supported);
    note_->setEnabled(supported);
    manual_->setEnabled(supported);
    clear_->setEnabled(doc_.record().engineer_choice.has_value());
    if (!modulus_->hasFocus()) {
        modulus_->setText(number_text(options_.elastic_modulus_mpa));
        modulus_->setModified(false);
    }
    if (!ratio_->hasFocus()) {
        ratio_->setText(number_text(options_.plate_relative_settlement, 3));
        ratio_->setModified(false);
    }
    take_005d_->blockSignals(true);
    take_005d_->setChecked(options_.take_005d);
    take_005d_->blockSignals(false);
    composite_->setCurrentIndex(static_cast<int>(options_.composite));
}

void AnalysisPage::warn(const std::string& text) {
    doc_.ui().show_warning(text);
}

bool AnalysisPage::set_modulus_text(const QString& text) {
    double value = 0;
    if (!parse_decimal_number(text.trimmed().toStdString(), value)) {
        warn(kEnterNumberMessage);
    } else if (!(value > 0 && value <= 1.0e6)) {
        warn(kModulusRangeMessage);
    } else {
        options_.elastic_modulus_mpa = value;
        options_.modulus_given = true;
        modulus_->setModified(false);
        refresh();
        return true;
    }
    // The old value stays, in the field too.
    modulus_->setText(number_text(options_.elastic_modulus_mpa));
    modulus_->setModified(false);
    return false;
}

bool AnalysisPage::set_ratio_text(const QString& text) {
    double value = 0;
    if (!parse_decimal_number(text.trimmed().toStdString(), value)) {
        warn(kEnterNumberMessage);
    } else if (!(value >= kMinPlateRelativeSettlement - 1e-12 &&
                 value <= kMaxPlateRelativeSettlement + 1e-12)) {
        warn(kRatioRangeMessage);
    } else {
        options_.plate_relative_settlement = value;
        ratio_->setModified(false);
        refresh();
        return true;
    }
    ratio_->setText(number_text(options_.plate_relative_settlement, 3));
    ratio_->setModified(false);
    return false;
}

void AnalysisPage::set_take_005d(bool on) {
    if (options_.take_005d == on) return;
    options_.take_005d = on;
    refresh();
}

void AnalysisPage::set_composite_kind(CompositeKind kind) {
    if (options_.composite == kind) return;
    options_.composite = kind;
    refresh();
}

std::string AnalysisPage::kept_note(const QString& note) {
    const std::string typed = note.trimmed().toStdString();
    std::string kept = truncate_for_gbk_field(typed, kChoiceNoteBytes);
    if (kept != typed) {
        warn(QString::fromUtf8(kNoteCutMessage).arg(text_of(kept)).toStdString());
    }
    return kept;
}

bool AnalysisPage::set_choice(std::optional<EngineerChoice> choice, const char* step) {
    const bool changed = doc_.set_engineer_choice(std::move(choice), step);
    // The document's update has refreshed the page when it is visible.
    if (stale_ && isVisible()) refresh();
    return changed;
}

bool AnalysisPage::choose_link(const QString& link) {
    const TestAnalysis& current = analysis();
    const RuleResult* rule = rule_of_link(current, link.toStdString());
    if (!rule || !rule->gives_value()) {
        warn(kNoValueToChooseMessage);
        return false;
    }
    const std::string note = kept_note(note_->text());
    return set_choice(choice_of_rule(*rule, current, clock_(), note), kChooseCapacityStep);
}

bool AnalysisPage::choose_manual(const QString& value_text, bool at_least, const QString& note) {
    const TestAnalysis& current = analysis();
    if (current.family == TestFamily::kUnsupported) return false;
    double value = 0;
    if (!parse_decimal_number(value_text.trimmed().toStdString(), value)) {
        warn(kEnterNumberMessage);
        return false;
    }
    if (!(value > 0)) {
        warn(kChosenValueMessage);
        return false;
    }
    return set_choice(manual_choice(value, at_least, current, clock_(), kept_note(note)),
                      kChooseCapacityStep);
}

bool AnalysisPage::clear_choice() {
    return set_choice(std::nullopt, kClearCapacityStep);
}

}  // namespace kvd
