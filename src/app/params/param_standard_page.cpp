#include "app/params/param_standard_page.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "doc/lbx_doc.h"

namespace kvd {
namespace {

constexpr int kMaxLoadChars = 10;
constexpr int kCountChars = 4;     // grades, counts: up to 2500
constexpr int kMinutesChars = 6;   // minutes: up to 999999
constexpr int kIntervalChars = 4;  // minutes between readings, rarely past 999

}  // namespace

CShiYanView::CShiYanView(CLbxDoc& doc, QWidget* parent)
    : ParamPage(doc, parent),
      binder_(*this, shown_, [](const StandardPageFields& f) { return validate(f); }) {
    // The type and the standard.
    test_type_ = new QButtonGroup(this);
    auto* type_group = new QGroupBox(QStringLiteral("试验类型"), form());
    auto* type_row = new QHBoxLayout(type_group);
    for (std::size_t i = 0; i < kTestTypeNames.size(); ++i) {
        type_row->addWidget(radio(kTestTypeNames[i].data(), test_type_, static_cast<int>(i)));
    }
    connect(test_type_, &QButtonGroup::idClicked, this,
            [this](int id) { choose_type(static_cast<TestType>(id)); });
    standards_ = new QComboBox(form());
    // As wide as the longest standard of every type, so that it does not
    // jump when the type changes.
    int widest = 0;
    for (TestType type : {TestType::kCompression, TestType::kUplift, TestType::kHorizontal}) {
        for (std::string_view name : standards_for(type)) {
            widest = std::max(widest, standards_->fontMetrics().horizontalAdvance(utf8(name)));
        }
    }
    standards_->setMinimumWidth(widest + 40);
    connect(standards_, &QComboBox::activated, this, &CShiYanView::choose_standard);
    auto* top = new QHBoxLayout;
    top->addWidget(type_group);
    top->addWidget(label("试验方法"));
    top->addWidget(standards_);
    top->addStretch(1);

    // The schedule, three fields to a row.
    auto* grid = new QGridLayout;
    max_load_ = add_int(grid, 0, 0, "最大载荷值", &StandardPageFields::max_load, kMaxLoadChars,
                        &max_load_label_);
    loading_grades_ =
        add_int(grid, 0, 2, "加 载 分 级", &StandardPageFields::loading_grades, kCountChars);
    add_int(grid, 0, 4, "首次加载级数", &StandardPageFields::first_multiple, kCountChars);

    stability_check_ = new QButtonGroup(this);
    auto* check_row = new QHBoxLayout;
    check_row->addWidget(radio("是", stability_check_, 0));
    check_row->addWidget(radio("否", stability_check_, 1));
    check_row->addStretch(1);
    connect(stability_check_, &QButtonGroup::idClicked, this, [this](int id) {
        shown_.stability_check_off = id == 1;
        show_fields();
        note_user_change();
    });
    grid->addWidget(label("是 否 判 稳"), 1, 0);
    grid->addLayout(check_row, 1, 1);
    stability_minutes_ =
        add_int(grid, 1, 2, "每次判稳时间(分钟)", &StandardPageFields::stability_minutes,
                kMinutesChars, &stability_minutes_label_);
    QLabel* count_label = nullptr;
    QLineEdit* count = add_int(grid, 1, 4, "判 稳 次 数", &StandardPageFields::stability_count,
                               kCountChars, &count_label);

    QLineEdit* criterion = binder_.real(
        [](StandardPageFields& f) -> double& { return f.stability_criterion; }, kMinutesChars);
    QLabel* criterion_label = label("判稳标准(mm)");
    grid->addWidget(criterion_label, 2, 0);
    grid->addWidget(criterion, 2, 1, Qt::AlignLeft);
    QLabel* start_label = nullptr;
    QLineEdit* start =
        add_int(grid, 2, 2, "开始判稳时间", &StandardPageFields::stability_start_minutes,
                kMinutesChars, &start_label);
    QLabel* reuse_label = nullptr;
    QLineEdit* reuse = add_int(grid, 2, 4, "复 用 时 间", &StandardPageFields::reuse_minutes,
                               kMinutesChars, &reuse_label);
    stability_controls_ = {count_label, count, criterion_label, criterion,
                           start_label, start, reuse_label,     reuse};

    add_int(grid, 3, 0, "卸 载 分 级", &StandardPageFields::unloading_grades, kCountChars);
    add_int(grid, 3, 2, "卸载每级测试时间(分钟)", &StandardPageFields::unloading_minutes,
            kMinutesChars);
    last_unloading_ = add_int(grid, 3, 4, "卸载最后一级维持时间(分钟)",
                              &StandardPageFields::last_unloading_minutes, kMinutesChars);
    grid->setColumnStretch(6, 1);

    // The record-interval tables.
    auto* intervals = new QGroupBox(QStringLiteral("记录间隔表"), form());
    auto* table = new QGridLayout(intervals);
    table->addWidget(new QLabel(QStringLiteral("加载"), intervals), 0, 0);
    table->addWidget(new QLabel(QStringLiteral("卸载"), intervals), 1, 0);
    for (std::size_t i = 0; i < load_intervals_.size(); ++i) {
        load_intervals_[i] = binder_.integer(
            [i](StandardPageFields& f) -> int& { return f.load_intervals[i]; }, kIntervalChars);
        unload_intervals_[i] = binder_.integer(
            [i](StandardPageFields& f) -> int& { return f.unload_intervals[i]; }, kIntervalChars);
        table->addWidget(load_intervals_[i], 0, 1 + static_cast<int>(i));
        table->addWidget(unload_intervals_[i], 1, 1 + static_cast<int>(i));
    }
    table->setColumnStretch(1 + kIntervalCount, 1);

    auto* layout = new QVBoxLayout(form());
    layout->addLayout(top);
    layout->addLayout(grid);
    layout->addWidget(intervals);
    layout->addStretch(1);
    load_page();
}

QLineEdit* CShiYanView::add_int(QGridLayout* grid, int row, int column, const char* caption,
                                int StandardPageFields::*field, int max_chars,
                                QLabel** caption_out) {
    QLineEdit* box =
        binder_.integer([field](StandardPageFields& f) -> int& { return f.*field; }, max_chars);
    QLabel* text = label(caption);
    grid->addWidget(text, row, column);
    grid->addWidget(box, row, column + 1, Qt::AlignLeft);
    if (caption_out) *caption_out = text;
    return box;
}

void CShiYanView::choose_type(TestType type) {
    // Clicking the type already chosen changes nothing: it would put the
    // type's default standard over the chosen one.
    if (type == shown_.test_type) return;
    commit_boxes();
    TestRecord& record = doc().record();
    apply_test_type(type, shown_, record.header, record.test_params);
    fill_standard_list();
    show_fields();
    note_user_change();
    doc().update_all_views(hint::kRefresh);
}

void CShiYanView::choose_standard(int index) {
    if (index < 0 || index >= standards_->count()) return;
    commit_boxes();
    if (!apply_standard(standards_->itemText(index).toStdString(), shown_)) return;
    show_fields();
    note_user_change();
}

void CShiYanView::fill_standard_list() {
    standards_->clear();
    for (std::string_view name : standards_for(shown_.test_type)) standards_->addItem(utf8(name));
    // A standard this program does not list (a file of another version) is
    // shown as it stands and kept until another one is chosen.
    int index = standards_->findText(QString::fromStdString(shown_.standard));
    if (index < 0) {
        standards_->addItem(QString::fromStdString(shown_.standard));
        index = standards_->count() - 1;
    }
    standards_->setCurrentIndex(index);
}

void CShiYanView::show_fields() {
    check_button(test_type_, static_cast<int>(shown_.test_type));
    const int index = standards_->findText(QString::fromStdString(shown_.standard));
    if (index >= 0) standards_->setCurrentIndex(index);
    check_button(stability_check_, shown_.stability_check_off ? 1 : 0);
    stability_minutes_label_->setText(
        utf8(kvd::stability_minutes_label(shown_.stability_check_off)));
    const bool visible = stability_controls_visible(shown_.stability_check_off);
    for (QWidget* control : stability_controls_) control->setVisible(visible);
    show_boxes();
}

namespace {

IntervalTable intervals_of(const std::uint16_t (&stored)[kIntervalCount]) {
    IntervalTable table{};
    std::copy(std::begin(stored), std::end(stored), table.begin());
    return table;
}

}  // namespace

void CShiYanView::note_record_intervals() {
    const TestHeader& header = doc().record().header;
    record_load_intervals_ = intervals_of(header.load_intervals);
    record_unload_intervals_ = intervals_of(header.unload_intervals);
}

void CShiYanView::other_hint(int hint) {
    (void)hint;
    // The project page may have switched the unit or the test object.
    show_load_unit();
    const TestHeader& header = doc().record().header;
    const IntervalTable load = intervals_of(header.load_intervals);
    const IntervalTable unload = intervals_of(header.unload_intervals);
    if (load == record_load_intervals_ && unload == record_unload_intervals_) return;
    // Changed by a command since the page last saw them: the later change
    // wins. The other boxes keep what is being typed into them.
    shown_.load_intervals = load;
    shown_.unload_intervals = unload;
    note_record_intervals();
    for (std::size_t i = 0; i < load.size(); ++i) {
        load_intervals_[i]->setText(QString::number(load[i]));
        unload_intervals_[i]->setText(QString::number(unload[i]));
    }
}

void CShiYanView::load_page() {
    TestHeader& header = doc().record().header;
    shown_.load_from(header);
    note_record_intervals();
    // The project page writes the unit it shows back at the next store.
    header.pressure_unit = 0;
    show_load_unit();
    fill_standard_list();
    show_fields();
}

void CShiYanView::show_load_unit() {
    max_load_label_->setText(utf8(kvd::max_load_label(doc().record().test_params.in_kpa())));
}

void CShiYanView::store_page() {
    shown_.store_into(doc().record().header);
    note_record_intervals();
}

}  // namespace kvd
