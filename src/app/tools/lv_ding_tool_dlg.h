#pragma once
// CLvDingToolDlg: "率定表工具", the tool that creates, shows and edits the
// field tester's calibration tables (工具 › 率定表工具). The table type
// (位移率定表 .wld / 千斤顶率定表 .qld) and the mode (新建率定表 /
// 查看或修改已有率定表) are radio buttons; the four parameters (编号, 率定日期,
// 最大量程, 率定间隔) are fields; the rows are a three-column list (序号,
// value, reading) edited in place. "新建表项" makes the rows from the range
// and interval; OK saves into the calibration folder (a new table is named
// after its number) or over the opened file. The rules of the table — rows,
// value format, the number as a file name, the file layout, atomic saving —
// are the core's (record/calibration.h); this dialog shows them and asks the
// questions through the UserInterface. A file that cannot be read or written
// is reported and the tool stays open with what it holds.
//
//   +-------------------------------------------------------------+
//   | 率定表类型 (o)位移率定表 ( )千斤顶率定表   +--------------------+ |
//   | 操作       (o)新建率定表 ( )查看或修改已有 | 序号 | 位移 | 频率 | |
//   | 率定表参数  编号 ____  率定日期 ____       |  1   | 0.00 |      | |
//   |            最大量程 __  率定间隔 __       |  2   | 3.00 |      | |
//   |            [新建表项]                    +--------------------+ |
//   |                                            [确定]  [取消]       |
//   +-------------------------------------------------------------+

#include <QDialog>
#include <QString>
#include <functional>

#include "record/calibration.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace kvd {

class UserInterface;

inline constexpr char kMessageNoCalibrationFolder[] =
    "请选择数据文件所在的位置 ！\n 工具 --》选项 --》常规 --》率定表文件位置";
inline constexpr char kMessageOpenOrCreateFirst[] = "请先选择打开率定表或新建率定表后再编辑！";

class CLvDingToolDlg : public QDialog {
    Q_OBJECT

public:
    enum Mode { kNewTable = 0, kExistingTable = 1 };

    // Asks for a table file to open: (folder, Qt filter, title) -> path, or
    // empty on Cancel. The default shows the program's open dialog; tests
    // replace it.
    using OpenPathChooser =
        std::function<QString(const QString& folder, const QString& filter, const QString& title)>;

    CLvDingToolDlg(UserInterface& ui, const QString& folder, QWidget* parent = nullptr);

    void set_open_path_chooser(OpenPathChooser chooser) { choose_path_ = std::move(chooser); }

    // What the tool holds now (the fields and the rows).
    CalibrationTable table() const;
    CalibrationType table_type() const { return type_; }
    Mode mode() const { return mode_; }
    bool is_modified() const { return modified_; }
    // The file the table was opened from (existing mode) or saved to.
    const QString& file_path() const { return path_; }

    QRadioButton* type_button(CalibrationType type) const;
    QRadioButton* mode_button(Mode mode) const;
    QLineEdit* number_field() const { return number_; }
    QLineEdit* date_field() const { return date_; }
    QLineEdit* range_field() const { return range_; }
    QLineEdit* interval_field() const { return interval_; }
    QLabel* range_label() const { return range_label_; }
    QLabel* interval_label() const { return interval_label_; }
    QPushButton* new_rows_button() const { return new_rows_; }
    QTableWidget* list() const { return list_; }

public slots:
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void type_clicked(int id);
    void mode_clicked(int id);
    void make_rows();
    void cell_changed(int row, int column);
    void open_table();
    void start_new_table();
    void apply_type_texts();
    void show_rows();
    void set_mode(Mode mode);
    bool ask_yes(const char* question);
    void show_error(const std::string& text);

    UserInterface& ui_;
    QString folder_;
    OpenPathChooser choose_path_;

    CalibrationType type_ = CalibrationType::kDisplacement;
    Mode mode_ = kNewTable;
    std::vector<CalibrationRow> rows_;
    bool modified_ = false;
    bool has_table_ = false;  // rows made or a file opened: the list may be edited
    bool filling_ = false;    // the list is being filled from rows_
    QString path_;

    QButtonGroup* types_ = nullptr;
    QButtonGroup* modes_ = nullptr;
    QLineEdit* number_ = nullptr;
    QLineEdit* date_ = nullptr;
    QLineEdit* range_ = nullptr;
    QLineEdit* interval_ = nullptr;
    QLabel* range_label_ = nullptr;
    QLabel* interval_label_ = nullptr;
    QPushButton* new_rows_ = nullptr;
    QTableWidget* list_ = nullptr;
};

}  // namespace kvd
