#include "app/tools/lv_ding_tool_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "app/dialogs/dialog_support.h"
#include "base/format.h"
#include "doc/user_interface.h"

namespace kvd {
namespace {

constexpr int kColumnWidth = 114;
constexpr int kListFontPixels = 15;

constexpr char kQuestionOverwrite[] = "文件“%s”已存在，是否用当前率定表覆盖它？";
constexpr char kQuestionDiscardOnClose[] = "当前率定表已修改但还没有保存，是否放弃修改并关闭？";

struct TypeTexts {
    const char* range_label;
    const char* interval_label;
    const char* value_column;
    const char* reading_column;
    const char* filter;  // Qt form of "位移率定表文件 (*.wld) |*.wld||"
    const char* open_title;
};

constexpr TypeTexts kDisplacementTexts = {
    "位移表最大量程(mm)", "率定间隔(mm)",           "位移(mm)",
    "频率(HZ)",           "位移率定表文件 (*.wld)", "打开位移率定表文件"};
constexpr TypeTexts kJackTexts = {
    "位移表最大量程(KN)", "率定间隔(KN)",           "荷载(KN)",
    "压强(Mpa)",          "千斤顶率定文件 (*.qld)", "打开千斤顶率定表文件"};

const TypeTexts& texts_of(CalibrationType type) {
    return type == CalibrationType::kJack ? kJackTexts : kDisplacementTexts;
}

QString qt_text(const std::string& text) {
    return QString::fromStdString(text);
}

std::filesystem::path local_path(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString default_open_path(QWidget* parent, const QString& folder, const QString& filter,
                          const QString& title) {
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    set_file_dialog_texts(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QTableWidgetItem* centred_item(const QString& text, bool editable) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    return item;
}

}  // namespace

CLvDingToolDlg::CLvDingToolDlg(UserInterface& ui, const QString& folder, QWidget* parent)
    : QDialog(parent), ui_(ui), folder_(folder) {
    setObjectName(QStringLiteral("calibration_tool"));
    setWindowTitle(QStringLiteral("率定表工具"));
    choose_path_ = [this](const QString& start, const QString& filter, const QString& title) {
        return default_open_path(this, start, filter, title);
    };

    auto* left = new QVBoxLayout;
    // A titled box with two radio buttons, ids 0 and 1.
    auto add_choice = [&](const char* title, const char* first, const char* second) {
        auto* box = new QGroupBox(QString::fromUtf8(title), this);
        auto* row = new QHBoxLayout(box);
        auto* group = new QButtonGroup(this);
        for (const auto& [id, text] : {std::pair{0, first}, std::pair{1, second}}) {
            auto* button = new QRadioButton(QString::fromUtf8(text), box);
            group->addButton(button, id);
            row->addWidget(button);
        }
        left->addWidget(box);
        return group;
    };
    types_ = add_choice("率定表类型", "位移率定表", "千斤顶率定表");
    modes_ = add_choice("操作", "新建率定表", "查看或修改已有率定表");

    auto* params = new QGroupBox(QStringLiteral("率定表参数"), this);
    auto* grid = new QGridLayout(params);
    auto add_field = [&](int row, QLabel* label) {
        auto* field = new QLineEdit(params);
        field->setMinimumWidth(fontMetrics().horizontalAdvance(QString(14, QLatin1Char('0'))));
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        connect(field, &QLineEdit::textEdited, this, [this] {
            // An opened table whose parameters were changed must not close unsaved.
            if (mode_ == kExistingTable && has_table_) modified_ = true;
        });
        return field;
    };
    number_ = add_field(0, new QLabel(QStringLiteral("编号"), params));
    date_ = add_field(1, new QLabel(QStringLiteral("率定日期"), params));
    range_label_ = new QLabel(params);
    range_ = add_field(2, range_label_);
    interval_label_ = new QLabel(params);
    interval_ = add_field(3, interval_label_);
    new_rows_ = new QPushButton(QStringLiteral("新建表项"), params);
    new_rows_->setAutoDefault(false);
    grid->addWidget(new_rows_, 4, 1, Qt::AlignRight);
    left->addWidget(params);
    left->addStretch(1);

    list_ = new QTableWidget(0, 3, this);
    list_->verticalHeader()->hide();
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(kListFontPixels);
    list_->setFont(font);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    for (int column = 0; column < 3; ++column) list_->setColumnWidth(column, kColumnWidth);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The three columns and the vertical scroll bar, without a horizontal one.
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setMinimumWidth(3 * kColumnWidth + list_->frameWidth() * 2 +
                           list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    list_->setMinimumHeight(320);
    list_->viewport()->installEventFilter(this);

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(list_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    QDialogButtonBox* buttons = make_ok_cancel(this);
    buttons->button(QDialogButtonBox::Ok)->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Ok)->setDefault(false);
    layout->addWidget(buttons);

    types_->button(0)->setChecked(true);
    modes_->button(kNewTable)->setChecked(true);
    apply_type_texts();
    connect(types_, &QButtonGroup::idClicked, this, &CLvDingToolDlg::type_clicked);
    connect(modes_, &QButtonGroup::idClicked, this, &CLvDingToolDlg::mode_clicked);
    connect(new_rows_, &QPushButton::clicked, this, &CLvDingToolDlg::make_rows);
    connect(list_, &QTableWidget::cellChanged, this, &CLvDingToolDlg::cell_changed);
    connect(list_, &QTableWidget::cellClicked, this, [this](int row, int column) {
        // A click on a value or reading opens the edit box over it.
        if (column > 0 && has_table_) list_->editItem(list_->item(row, column));
    });
}

QRadioButton* CLvDingToolDlg::type_button(CalibrationType type) const {
    return qobject_cast<QRadioButton*>(types_->button(static_cast<int>(type)));
}

QRadioButton* CLvDingToolDlg::mode_button(Mode mode) const {
    return qobject_cast<QRadioButton*>(modes_->button(mode));
}

CalibrationTable CLvDingToolDlg::table() const {
    CalibrationTable table;
    table.type = type_;
    table.number = number_->text().toStdString();
    table.date = date_->text().toStdString();
    table.max_range = range_->text().toStdString();
    table.interval = interval_->text().toStdString();
    table.rows = rows_;
    return table;
}

bool CLvDingToolDlg::ask_yes(const char* question) {
    return ui_.message_box(question, kCaptionPrompt, MessageButtons::kYesNo,
                           MessageIcon::kQuestion) == MessageAnswer::kYes;
}

void CLvDingToolDlg::show_error(const std::string& text) {
    ui_.show_error(text);
}

void CLvDingToolDlg::apply_type_texts() {
    const TypeTexts& texts = texts_of(type_);
    range_label_->setText(QString::fromUtf8(texts.range_label));
    interval_label_->setText(QString::fromUtf8(texts.interval_label));
    list_->setHorizontalHeaderLabels({QStringLiteral("序号"), QString::fromUtf8(texts.value_column),
                                      QString::fromUtf8(texts.reading_column)});
}

void CLvDingToolDlg::show_rows() {
    filling_ = true;
    list_->setRowCount(static_cast<int>(rows_.size()));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const int row = static_cast<int>(i);
        list_->setItem(row, 0, centred_item(QString::number(row + 1), false));
        list_->setItem(row, 1, centred_item(qt_text(rows_[i].value), true));
        list_->setItem(row, 2, centred_item(qt_text(rows_[i].reading), true));
    }
    filling_ = false;
}

void CLvDingToolDlg::set_mode(Mode mode) {
    mode_ = mode;
    modes_->button(mode)->setChecked(true);
    new_rows_->setVisible(mode == kNewTable);
}

void CLvDingToolDlg::type_clicked(int id) {
    const auto type = static_cast<CalibrationType>(id);
    if (type == type_) return;
    if (!rows_.empty()) {
        const char* question =
            type == CalibrationType::kJack ? kQuestionSwitchToJack : kQuestionSwitchToDisplacement;
        if (!ask_yes(question)) {
            types_->button(static_cast<int>(type_))->setChecked(true);
            return;
        }
        rows_.clear();
    }
    type_ = type;
    has_table_ = false;
    modified_ = false;
    path_.clear();
    set_mode(kNewTable);
    apply_type_texts();
    show_rows();
}

void CLvDingToolDlg::mode_clicked(int id) {
    const Mode previous = mode_;
    const bool to_new = id == kNewTable;
    if (modified_ && !ask_yes(to_new ? kQuestionDiscardForNew : kQuestionDiscardForOpen)) {
        set_mode(previous);
        return;
    }
    if (to_new)
        start_new_table();
    else
        open_table();
}

void CLvDingToolDlg::start_new_table() {
    for (QLineEdit* field : {number_, date_, range_, interval_}) field->clear();
    rows_.clear();
    has_table_ = false;
    modified_ = false;
    path_.clear();
    set_mode(kNewTable);
    show_rows();
}

void CLvDingToolDlg::open_table() {
    const Mode previous = mode_;
    const TypeTexts& texts = texts_of(type_);
    const QString path =
        choose_path_(folder_, QString::fromUtf8(texts.filter), QString::fromUtf8(texts.open_title));
    if (path.isEmpty()) {
        set_mode(previous);
        return;
    }
    CalibrationTable opened;
    const Status status = load_calibration_table(local_path(path), opened);
    if (!status.ok()) {
        // What the tool held stays as it was.
        show_error(status.message());
        set_mode(previous);
        return;
    }
    number_->setText(qt_text(opened.number));
    date_->setText(qt_text(opened.date));
    range_->setText(qt_text(opened.max_range));
    interval_->setText(qt_text(opened.interval));
    rows_ = std::move(opened.rows);
    has_table_ = true;
    modified_ = false;
    path_ = path;
    set_mode(kExistingTable);
    show_rows();
}

void CLvDingToolDlg::make_rows() {
    const CalibrationTable current = table();
    std::vector<CalibrationRow> made;
    const Status status = make_calibration_rows(current, made);
    if (!status.ok()) {
        show_error(status.message());
        return;
    }
    if (!rows_.empty() && !ask_yes(kQuestionReplaceRows)) return;
    rows_ = std::move(made);
    has_table_ = true;
    show_rows();
}

void CLvDingToolDlg::cell_changed(int row, int column) {
    if (filling_ || row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return;
    QTableWidgetItem* item = list_->item(row, column);
    if (!item) return;
    CalibrationRow& target = rows_[static_cast<std::size_t>(row)];
    const std::string typed = item->text().toStdString();
    if (column == 1) {
        const std::optional<std::string> value = reformat_calibration_value(typed);
        if (!value) {
            show_error(kMessageValueNotNumber);
        } else {
            modified_ = modified_ || *value != target.value;
            target.value = *value;
        }
        filling_ = true;
        item->setText(qt_text(target.value));
        filling_ = false;
    } else if (column == 2) {
        modified_ = modified_ || typed != target.reading;
        target.reading = typed;
    }
}

bool CLvDingToolDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonPress && !has_table_) {
        show_error(kMessageOpenOrCreateFirst);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CLvDingToolDlg::accept() {
    if (!modified_) {
        if (mode_ == kExistingTable || !ask_yes(kQuestionSaveUnmodified)) {
            QDialog::accept();
            return;
        }
    }
    if (!ask_yes(kQuestionSave)) return;

    const CalibrationTable current = table();
    std::filesystem::path target;
    if (mode_ == kExistingTable && !path_.isEmpty()) {
        target = local_path(path_);
    } else {
        const Status named = calibration_file_path(local_path(folder_), current, target);
        if (!named.ok()) {
            show_error(named.message());
            number_->setFocus();
            return;
        }
        std::error_code error;
        if (std::filesystem::exists(target, error) &&
            !ask_yes(strprintf(kQuestionOverwrite, target.filename().c_str()).c_str())) {
            return;
        }
        std::filesystem::create_directories(target.parent_path(), error);
        if (error) {
            show_error(strprintf("无法建立率定表文件夹：%s", target.parent_path().c_str()));
            return;
        }
    }
    const Status saved = save_calibration_table(target, current);
    if (!saved.ok()) {
        show_error(saved.message());
        return;
    }
    path_ = QFile::decodeName(QByteArray::fromStdString(target.string()));
    modified_ = false;
    QDialog::accept();
}

void CLvDingToolDlg::reject() {
    if (modified_ && !ask_yes(kQuestionDiscardOnClose)) return;
    QDialog::reject();
}

}  // namespace kvd
