#pragma once
// CGroupStatisticsDlg: "多桩统计" (工具 › 多桩统计), the statistics of several
// tests of one site. The engineer adds test and analysis files; each is read
// as the open command reads it, analysed, and valued by the core
// (analysis/group_member.h: the engineer's choice kept in the file when it
// matches the readings, else the proposal), and the table shows every file,
// counted or not with the reason, then the statistics (analysis/group_table.h).
// The open document is not touched.
//
//   +------------------------------------------------------------------+
//   | [添加文件...] [移除] [清空]  [x] 承台下桩数不大于 3 根（取最小值）  [复制] |
//   | 序号 | 试验编号 | 文件 | 值 | 取值依据                    | 计入统计 |
//   |  1   | S-12     | ...  | ≥ 3000 kN | 程序建议：...        | 是       |
//   | detail of the selected row (its reason, wrapped)                 |
//   | 数量 / 平均值 / 极差 / ... / 统计规则 / 统计值 / 特征值 / 提示     |
//   |                                                         [关闭]  |
//   +------------------------------------------------------------------+

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "analysis/group_table.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kvd {

class UserInterface;

inline constexpr char kSmallCapPiles[] = "承台下桩数不大于 3 根（取最小值）";
inline constexpr char kSmallCapComposite[] =
    "桩数少于 5 根的独立基础或少于 3 排的条形基础（取最小值）";

class CGroupStatisticsDlg : public QDialog {
    Q_OBJECT

public:
    // Asks for files to add, starting in folder; empty on Cancel. The default
    // shows Qt's file dialog; tests replace it.
    using FileChooser = std::function<QStringList(const QString& folder)>;

    CGroupStatisticsDlg(UserInterface& ui, const QString& folder, QWidget* parent = nullptr);
    ~CGroupStatisticsDlg() override;

    void set_file_chooser(FileChooser chooser) { choose_files_ = std::move(chooser); }

    // Adds the files in order; one already listed, or holding a test already
    // listed, is refused with a word.
    void add_files(const QStringList& paths);

    const std::vector<GroupFile>& files() const { return files_; }
    const GroupAnalysis& group() const { return group_; }
    const GroupTable& table() const { return table_; }
    // The table as the clipboard gets it.
    QString table_text() const;

    QPushButton* add_button() const { return add_; }
    QPushButton* remove_button() const { return remove_; }
    QPushButton* clear_button() const { return clear_; }
    QPushButton* copy_button() const { return copy_; }
    QPushButton* preview_button() const { return preview_; }
    QPushButton* word_button() const { return word_; }
    QCheckBox* small_cap_box() const { return small_cap_; }
    QTableWidget* file_table() const { return list_; }
    QTableWidget* summary_table() const { return summary_; }
    QLabel* detail_label() const { return detail_; }

signals:
    // The table out of the window ("打印预览...", "导出Word..."): the main
    // window shows the pages or asks where to write the document, on the
    // paper and in the folders the program's options name.
    void preview_requested();
    void word_requested();

public slots:
    void choose_and_add();
    void remove_selected();
    void clear_files();
    void copy_table();

private:
    void refresh();
    void fill_rows();
    void fill_summary();
    void show_detail();

    UserInterface& ui_;
    QString folder_;
    FileChooser choose_files_;
    std::vector<GroupFile> files_;
    std::vector<std::string> file_names_;
    QStringList keys_;  // each file's canonical path, to find it again
    GroupAnalysis group_;
    GroupTable table_;

    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* preview_ = nullptr;
    QPushButton* word_ = nullptr;
    QCheckBox* small_cap_ = nullptr;
    QTableWidget* list_ = nullptr;
    QLabel* detail_ = nullptr;
    QTableWidget* summary_ = nullptr;
};

}  // namespace kvd
