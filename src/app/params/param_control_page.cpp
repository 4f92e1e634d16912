#include "app/params/param_control_page.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "doc/lbx_doc.h"

namespace kvd {
namespace {

constexpr int kTimeChars = 4;     // 0 ... 2000
constexpr int kAmountChars = 8;   // 0 ... 2000 or 1000, with decimals
constexpr int kDegreeChars = 12;  // 0 ... 360, with decimals

}  // namespace

CHeZaiView::CHeZaiView(CLbxDoc& doc, QWidget* parent)
    : ParamPage(doc, parent),
      binder_(*this, shown_, [](const ControlPageFields& f) { return validate(f); }) {
    // Two columns: the test's control, then the sensors, upload and position.
    auto* left = new QGridLayout;
    auto* right = new QGridLayout;
    QGridLayout* grid = left;
    int row = 0;
    test_mode_ = radio_row(grid, row++, "试验方式", "自动", "人工",
                           [this](int id) { shown_.manual = id == 1; });

    pressurising_time_ = binder_.integer(
        [](ControlPageFields& f) -> int& { return f.longest_pressurising_time; }, kTimeChars);
    grid->addWidget(label("最长加压时间 (秒)"), row, 0);
    grid->addWidget(pressurising_time_, row++, 1, Qt::AlignLeft);

    reloading_ = radio_row(grid, row++, "是否补载", "是", "否", [this](int id) {
        shown_.reloading_off = id == 1;
        show_reloading_controls();
    });
    reloading_mode_ = radio_row(grid, row, "补载方式", "数值", "百分比", [this](int id) {
        shown_.reload_by_percentage = id == 1;
        show_reloading_controls();
    });
    mode_label_ = qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget());
    mode_radios_ = {reloading_mode_->button(0), reloading_mode_->button(1)};
    ++row;

    amount_ = binder_.real([](ControlPageFields& f) -> double& { return f.load_drop_amount; },
                           kAmountChars);
    percentage_ = binder_.real(
        [](ControlPageFields& f) -> double& { return f.load_drop_percentage; }, kAmountChars);
    amount_label_ = label("掉载量设置");
    amount_unit_ = label("kN");
    auto* amount_row = new QHBoxLayout;
    amount_row->addWidget(amount_);
    amount_row->addWidget(percentage_);
    amount_row->addWidget(amount_unit_);
    amount_row->addStretch(1);
    grid->addWidget(amount_label_, row, 0);
    grid->addLayout(amount_row, row++, 1);

    sensor_range_ = binder_.integer(
        [](ControlPageFields& f) -> int& { return f.pressure_sensor_range; }, kTimeChars);
    grid->addWidget(label("压力传感器最大量程(Mpa)"), row, 0);
    grid->addWidget(sensor_range_, row++, 1, Qt::AlignLeft);

    grid = right;
    row = 0;
    load_sensor_ = radio_row(grid, row++, "荷载传感器类型", "力", "油压",
                             [this](int id) { shown_.load_sensor_type = id; });
    displacement_sensor_ = radio_row(grid, row++, "位移传感器类型", "调频式", "容栅式",
                                     [this](int id) { shown_.displacement_sensor_type = id; });

    upload_mode_ = new QComboBox(form());
    connect(upload_mode_, &QComboBox::activated, this, [this](int index) {
        shown_.upload_mode = upload_mode_->itemData(index).toInt();
        note_user_change();
    });
    grid->addWidget(label("数据上传模式"), row, 0);
    grid->addWidget(upload_mode_, row++, 1, Qt::AlignLeft);

    instrument_number_ =
        binder_.text([](ControlPageFields& f) -> std::string& { return f.instrument_number; },
                     static_cast<int>(kInstrumentNumberChars));
    upload_number_ =
        binder_.text([](ControlPageFields& f) -> std::string& { return f.upload_number; },
                     static_cast<int>(kInstrumentNumberChars));
    longitude_ = binder_.real([](ControlPageFields& f) -> double& { return f.longitude; },
                              kDegreeChars, double_text);
    latitude_ = binder_.real([](ControlPageFields& f) -> double& { return f.latitude; },
                             kDegreeChars, double_text);
    const std::pair<const char*, QLineEdit*> boxes[] = {{"仪器编号", instrument_number_},
                                                        {"上传编号", upload_number_},
                                                        {"经度", longitude_},
                                                        {"纬度", latitude_}};
    for (const auto& [caption, box] : boxes) {
        grid->addWidget(label(caption), row, 0);
        grid->addWidget(box, row++, 1, Qt::AlignLeft);
    }
    // The rows keep their height; what is left goes below them.
    left->setRowStretch(left->rowCount(), 1);
    right->setRowStretch(right->rowCount(), 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addSpacing(24);
    columns->addLayout(right);
    columns->addStretch(1);
    auto* layout = new QVBoxLayout(form());
    layout->addLayout(columns);
    layout->addStretch(1);
    load_page();
}

QButtonGroup* CHeZaiView::radio_row(QGridLayout* grid, int row, const char* caption,
                                    const char* first, const char* second,
                                    std::function<void(int)> take) {
    auto* group = new QButtonGroup(this);
    auto* radios = new QHBoxLayout;
    radios->addWidget(radio(first, group, 0));
    radios->addWidget(radio(second, group, 1));
    radios->addStretch(1);
    grid->addWidget(label(caption), row, 0);
    grid->addLayout(radios, row, 1);
    connect(group, &QButtonGroup::idClicked, this, [this, take = std::move(take)](int id) {
        take(id);
        note_user_change();
    });
    return group;
}

void CHeZaiView::show_reloading_controls() {
    const ReloadingControls shown = reloading_controls(shown_);
    mode_label_->setVisible(shown.mode_shown);
    for (QWidget* radio : mode_radios_) radio->setVisible(shown.mode_shown);
    amount_label_->setVisible(shown.mode_shown);
    amount_->setVisible(shown.amount_shown);
    percentage_->setVisible(shown.percentage_shown);
    amount_unit_->setVisible(!shown.unit_label.empty());
    amount_unit_->setText(utf8(shown.unit_label));
}

void CHeZaiView::load_page() {
    shown_.load_from(doc().record().header);
    check_button(test_mode_, shown_.manual ? 1 : 0);
    check_button(reloading_, shown_.reloading_off ? 1 : 0);
    check_button(reloading_mode_, shown_.reload_by_percentage ? 1 : 0);
    check_button(load_sensor_, shown_.load_sensor_type);
    check_button(displacement_sensor_, shown_.displacement_sensor_type);
    upload_mode_->clear();
    for (std::size_t i = 0; i < kUploadModeNames.size(); ++i) {
        upload_mode_->addItem(utf8(kUploadModeNames[i]), static_cast<int>(i));
    }
    // A mode this program has no name for is shown by its number and kept.
    if (upload_mode_->findData(shown_.upload_mode) < 0) {
        upload_mode_->addItem(QString::number(shown_.upload_mode), shown_.upload_mode);
    }
    upload_mode_->setCurrentIndex(upload_mode_->findData(shown_.upload_mode));
    show_reloading_controls();
    show_boxes();
}

void CHeZaiView::store_page() {
    shown_.store_into(doc().record().header);
}

bool CHeZaiView::stores_on(int hint) const {
    return hint == hint::kStorePages || hint == hint::kStoreProjectPage;
}

}  // namespace kvd
