#include "app/params/param_project_page.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cstring>

#include "doc/lbx_doc.h"

namespace kvd {
namespace {

constexpr int kSixChars = 6;  // lengths, areas, ratios
constexpr int kDiameterChars = 4;
constexpr int kJackCountChars = 3;
constexpr int kBoreChars = 6;
constexpr int kEquationChars = 14;  // up to 100000000, with decimals

}  // namespace

CParaView::CParaView(CLbxDoc& doc, QWidget* parent)
    : ParamPage(doc, parent),
      binder_(*this, shown_, [](const ProjectPageFields& f) { return validate(f); }) {
    using F = ProjectPageFields;
    auto* grid = new QGridLayout;

    test_date_ = new QDateEdit(form());
    test_date_->setCalendarPopup(true);
    test_date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    connect(test_date_, &QDateEdit::dateChanged, this, [this](QDate date) {
        // The day changes; the time of day stays.
        QDateTime time = QDateTime::fromSecsSinceEpoch(shown_.test_time);
        time.setDate(date);
        if (!time.isValid() || time.toSecsSinceEpoch() == shown_.test_time) return;
        shown_.test_time = time.toSecsSinceEpoch();
        note_user_change();
    });
    grid->addWidget(label("测  试  日  期"), 0, 0);
    grid->addWidget(test_date_, 0, 1, Qt::AlignLeft);

    site_name_ = binder_.text([](F& f) -> std::string& { return f.site_name; },
                              static_cast<int>(kSiteNameChars));
    grid->addWidget(label("工  地  名  称"), 1, 0);
    grid->addWidget(site_name_, 1, 1, 1, 3);

    pile_number_ = binder_.text([](F& f) -> std::string& { return f.pile_number; },
                                static_cast<int>(kPileNumberChars));
    serial_number_ = binder_.text([](F& f) -> std::string& { return f.serial_number; }, 0);
    serial_number_->setReadOnly(true);
    number_label_ = label("试  验  桩  号");
    grid->addWidget(number_label_, 2, 0);
    grid->addWidget(pile_number_, 2, 1);
    grid->addWidget(label("检 测 流 水 号"), 2, 2);
    grid->addWidget(serial_number_, 2, 3);

    // The pile's boxes and the foundation's share the two cells; the test
    // object decides which show.
    pile_length_ = binder_.real([](F& f) -> double& { return f.pile_length; }, kSixChars,
                                [](double v) { return utf8(format_pile_length(v)); });
    plate_area_ = binder_.real([](F& f) -> double& { return f.plate_area; }, kSixChars,
                               [](double v) { return utf8(format_plate_area(v)); });
    pile_diameter_ = binder_.integer([](F& f) -> int& { return f.pile_diameter; }, kDiameterChars);
    replacement_ratio_ =
        binder_.real([](F& f) -> double& { return f.replacement_ratio; }, kSixChars);
    length_label_ = label("桩     长");
    diameter_label_ = label("桩     径");
    grid->addWidget(length_label_, 3, 0);
    grid->addWidget(pile_length_, 3, 1, Qt::AlignLeft);
    grid->addWidget(plate_area_, 3, 1, Qt::AlignLeft);
    grid->addWidget(diameter_label_, 3, 2);
    grid->addWidget(pile_diameter_, 3, 3, Qt::AlignLeft);
    grid->addWidget(replacement_ratio_, 3, 3, Qt::AlignLeft);

    auto* choices = new QHBoxLayout;
    test_object_ = choice_group("试验类型", {"桩", "地基"}, choices, &F::test_object);
    pressure_unit_ = choice_group("压力单位", {"kN", "kPa"}, choices, &F::pressure_unit);
    section_shape_ = choice_group("桩截面形状", {"圆形", "方形"}, choices, &F::section_shape);
    choices->addStretch(1);
    connect(test_object_, &QButtonGroup::idClicked, this, [this] { relabel(); });
    grid->addLayout(choices, 4, 0, 1, 4);

    sensor_number_ = binder_.text([](F& f) -> std::string& { return f.pressure_sensor_number; }, 0);
    sensor_number_->setReadOnly(true);
    jack_count_ = binder_.integer([](F& f) -> int& { return f.jack_count; }, kJackCountChars);
    cylinder_bore_ = binder_.integer([](F& f) -> int& { return f.cylinder_bore; }, kBoreChars);
    jack_numbers_ = binder_.text([](F& f) -> std::string& { return f.jack_numbers; },
                                 static_cast<int>(kJackNumbersChars));
    grid->addWidget(label("压力传感器编号"), 5, 0);
    grid->addWidget(sensor_number_, 5, 1);
    grid->addWidget(label("千 斤 顶 数 量"), 5, 2);
    grid->addWidget(jack_count_, 5, 3, Qt::AlignLeft);
    grid->addWidget(label("千 斤 顶 编 号"), 6, 0);
    grid->addWidget(jack_numbers_, 6, 1);
    grid->addWidget(label("油 缸 内 径mm"), 6, 2);
    grid->addWidget(cylinder_bore_, 6, 3, Qt::AlignLeft);
    grid->setColumnStretch(4, 1);

    auto* layout = new QVBoxLayout(form());
    layout->addLayout(grid);
    layout->addWidget(build_method_group());
    layout->addWidget(build_averaged_group());
    layout->addStretch(1);

    // Leaving the page applies it.
    focus_watch_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (!old || !isAncestorOf(old) || (now && isAncestorOf(now)) || applying_) return;
            // Only what the user changed: passing through the page writes nothing.
            commit_boxes();
            if (pending()) apply();
        });
    load_page();
}

CParaView::~CParaView() {
    // The children go after this object's part: a focus change on their way
    // out must not reach it.
    disconnect(focus_watch_);
}

QButtonGroup* CParaView::choice_group(const char* title, std::array<const char*, 2> names,
                                      QHBoxLayout* row, int ProjectPageFields::*field) {
    auto* box = new QGroupBox(QString::fromUtf8(title), form());
    auto* buttons = new QHBoxLayout(box);
    auto* group = new QButtonGroup(this);
    for (int id = 0; id < 2; ++id) {
        buttons->addWidget(radio(names[static_cast<std::size_t>(id)], group, id));
    }
    row->addWidget(box);
    connect(group, &QButtonGroup::idClicked, this, [this, field](int id) {
        if (shown_.*field == id) return;
        shown_.*field = id;
        note_user_change();
    });
    return group;
}

QWidget* CParaView::build_method_group() {
    using F = ProjectPageFields;
    auto* box = new QGroupBox(QStringLiteral("压力计算方法"), form());
    auto* grid = new QGridLayout(box);
    pressure_method_ = new QButtonGroup(this);
    const char* names[] = {"油缸内径", "率定表", "率定方程", "回归方程"};
    auto* radios = new QHBoxLayout;
    for (int id = 0; id < 4; ++id) radios->addWidget(radio(names[id], pressure_method_, id));
    radios->addStretch(1);
    grid->addLayout(radios, 0, 0, 1, 5);
    connect(pressure_method_, &QButtonGroup::idClicked, this,
            [this](int id) { choose_method(static_cast<PressureMethod>(id)); });

    calibration_k_ = binder_.real([](F& f) -> double& { return f.calibration_k; }, kEquationChars);
    calibration_b_ = binder_.real([](F& f) -> double& { return f.calibration_b; }, kEquationChars);
    regression_k_ = binder_.real([](F& f) -> double& { return f.regression_k; }, kEquationChars);
    regression_b_ = binder_.real([](F& f) -> double& { return f.regression_b; }, kEquationChars);
    grid->addWidget(new QLabel(QStringLiteral("率定方程 F(KN) = k · P(MPa) + b"), box), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("k"), box), 1, 1);
    grid->addWidget(calibration_k_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("b"), box), 1, 3);
    grid->addWidget(calibration_b_, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("回归方程 P(MPa) = k · F(KN) + b"), box), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("k"), box), 2, 1);
    grid->addWidget(regression_k_, 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("b"), box), 2, 3);
    grid->addWidget(regression_b_, 2, 4);
    grid->setColumnStretch(5, 1);
    return box;
}

QWidget* CParaView::build_averaged_group() {
    auto* box = new QGroupBox(QStringLiteral("平均通道"), form());
    auto* grid = new QGridLayout(box);
    constexpr int kPerRow = 8;
    for (std::size_t j = 0; j < averaged_.size(); ++j) {
        averaged_[j] = new QCheckBox(QString::number(j + 1), box);
        grid->addWidget(averaged_[j], static_cast<int>(j) / kPerRow, static_cast<int>(j) % kPerRow);
        connect(averaged_[j], &QCheckBox::clicked, this, [this] { click_averaged(); });
    }
    grid->setColumnStretch(kPerRow, 1);
    return box;
}

void CParaView::choose_method(PressureMethod method) {
    commit_boxes();
    TestHeader& header = doc().record().header;
    const TestHeader before = header;
    const PressureMethod previous = shown_.pressure_method;
    const Status status = choose_pressure_method(method, shown_, header);
    if (!status.ok()) {
        check_button(pressure_method_, static_cast<int>(previous));
        doc().ui().show_error(status.message());
        return;
    }
    if (std::memcmp(&before, &header, sizeof header) != 0) doc().set_modified(true);
}

void CParaView::click_averaged() {
    std::array<bool, kChannelCount> ticked{};
    for (std::size_t j = 0; j < averaged_.size(); ++j) ticked[j] = averaged_[j]->isChecked();
    TestRecord& record = doc().record();
    store_averaged(ticked, record.header, record.test_params);
    shown_.averaged = ticked;
    // Every settlement follows the averaged channels.
    doc().commit_change(hint::kRefresh, true);
}

void CParaView::apply() {
    if (applying_) return;
    applying_ = true;
    commit_boxes();
    TestRecord& record = doc().record();
    const TestParams before = record.test_params;
    // The boxes are stored as they are clicked; the record holds them.
    for (std::size_t j = 0; j < shown_.averaged.size(); ++j) {
        shown_.averaged[j] = before.averaged[j] != 0;
    }
    shown_.store_into(record.header, record.test_params);
    const bool changed = pending();
    clear_pending();
    bool refreshed = false;
    const LoadConversion conversion = load_conversion(before, record.test_params);
    if (conversion != LoadConversion::kNone) {
        refreshed = doc().convert_load_unit(conversion == LoadConversion::kToKpa);
        if (!refreshed) {
            // Nothing to convert over: the loads keep the unit they are in.
            record.header.test_object = static_cast<std::uint8_t>(before.test_object);
            record.header.pressure_unit = static_cast<std::uint8_t>(before.pressure_unit);
            record.test_params.test_object = before.test_object;
            record.test_params.pressure_unit = before.pressure_unit;
            shown_.test_object = before.test_object;
            shown_.pressure_unit = before.pressure_unit;
            check_button(test_object_, shown_.test_object);
            check_button(pressure_unit_, shown_.pressure_unit);
            doc().ui().show_error(kNoPlateAreaMessage);
        }
    }
    relabel();
    if (changed) {
        doc().set_modified(true);
        if (!refreshed) doc().update_all_views(hint::kRefresh);
    }
    applying_ = false;
}

void CParaView::relabel() {
    const ProjectCaptions captions = project_captions(shown_.test_object);
    length_label_->setText(utf8(captions.length));
    diameter_label_->setText(utf8(captions.diameter));
    number_label_->setText(utf8(captions.number));
    pile_length_->setVisible(captions.pile_boxes_shown);
    pile_diameter_->setVisible(captions.pile_boxes_shown);
    plate_area_->setVisible(!captions.pile_boxes_shown);
    replacement_ratio_->setVisible(!captions.pile_boxes_shown);
    // The area the loads are converted over changes only while they are in kN.
    plate_area_->setEnabled(plate_area_enabled(doc().record().test_params.pressure_unit));
}

void CParaView::show_params_fields() {
    {
        const QSignalBlocker blocker(test_date_);
        test_date_->setDate(QDateTime::fromSecsSinceEpoch(shown_.test_time).date());
    }
    check_button(test_object_, shown_.test_object == 1 ? 1 : 0);
    check_button(pressure_unit_, shown_.pressure_unit == 1 ? 1 : 0);
    check_button(section_shape_, shown_.section_shape == 1 ? 1 : 0);
    const TestParams& params = doc().record().test_params;
    for (std::size_t j = 0; j < averaged_.size(); ++j) {
        averaged_[j]->setChecked(shown_.averaged[j]);
        averaged_[j]->setEnabled(averaged_box_enabled(params, static_cast<int>(j)));
    }
    relabel();
    show_boxes();
}

void CParaView::load_page() {
    const TestRecord& record = doc().record();
    shown_.load_from(record.header, record.test_params);
    check_button(pressure_method_, static_cast<int>(shown_.pressure_method));
    show_params_fields();
}

void CParaView::store_page() {
    apply();
}

bool CParaView::stores_on(int hint) const {
    return hint == hint::kStorePages || hint == hint::kStoreProjectPage;
}

void CParaView::other_hint(int hint) {
    if (hint != hint::kRefresh) return;
    if (!applying_) {
        commit_boxes();
        if (pending()) apply();
    }
    shown_.load_params_fields(doc().record().test_params);
    show_params_fields();
}

}  // namespace kvd
