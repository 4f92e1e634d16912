#pragma once
// AnalysisPage: the "承载力分析" tab of the table pane. It shows, read-only,
// the bearing-capacity interpretation of the open record (analyse_test): the
// rules with their values, sources and reasons, the proposed values, the
// classical methods for comparison and the notices; the analysis settings the
// file does not hold (for this session); and the engineer's choice, which it
// sets on the record through the document as one undoable step.
//
// The analysis follows the document: a change only marks it stale, and it
// runs again when the page is shown (or is visible), so edits cost nothing
// while the tab is behind the others.

#include <QWidget>
#include <cstdint>
#include <functional>

#include "analysis/analysis_options.h"
#include "analysis/analysis_result.h"
#include "doc/lbx_doc.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;

namespace kvd {

inline constexpr char kNoteCutMessage[] = "说明过长，已截短为：%1";
inline constexpr char kModulusRangeMessage[] = "弹性模量应大于 0 且不大于 1000000 MPa。";
inline constexpr char kRatioRangeMessage[] = "相对变形值应在 0.010 到 0.015 之间。";
inline constexpr char kNoValueToChooseMessage[] = "该规则没有给出可采用的值。";
inline constexpr char kChosenValueMessage[] = "承载力取值应为大于 0 的数字。";
// Note of a choice: the trailing block keeps 59 GBK bytes.
inline constexpr std::size_t kChoiceNoteBytes = 59;

class AnalysisPage : public QWidget {
    Q_OBJECT

public:
    using Clock = std::function<std::int64_t()>;
    // The clock stamps choices (the wall clock unless given).
    explicit AnalysisPage(CLbxDoc& doc, QWidget* parent = nullptr, Clock clock = nullptr);

    // A document update: the analysis is stale; it runs now when the page is
    // visible, otherwise when it is next shown.
    void on_document_update(int hint);
    // The analysis as shown (brought up to date first when stale).
    const TestAnalysis& analysis();
    const AnalysisOptions& options() const { return options_; }
    bool stale() const { return stale_; }
    // How often the analysis ran (for the tests of the stale rule).
    int analysis_runs() const { return runs_; }

    // The choice commands, as the links and buttons run them; each returns
    // whether the record changed. A refused text is reported and changes nothing.
    bool choose_link(const QString& link);
    bool choose_manual(const QString& value, bool at_least, const QString& note);
    bool clear_choice();
    // The settings fields' commands: true when the text was taken.
    bool set_modulus_text(const QString& text);
    bool set_ratio_text(const QString& text);
    void set_take_005d(bool on);
    void set_composite_kind(CompositeKind kind);

    QTextBrowser* view() const { return view_; }
    QLineEdit* modulus_field() const { return modulus_; }
    QLineEdit* ratio_field() const { return ratio_; }
    QLineEdit* manual_field() const { return manual_value_; }
    QLineEdit* note_field() const { return note_; }
    QCheckBox* at_least_box() const { return at_least_; }
    QPushButton* clear_button() const { return clear_; }

signals:
    // The choice or the analysis changed (the frame marks the curve).
    void analysis_shown();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void refresh_controls();
    bool set_choice(std::optional<EngineerChoice> choice, const char* step);
    // The note as it will be kept; the user is told when it had to be cut.
    std::string kept_note(const QString& note);
    void warn(const std::string& text);

    CLbxDoc& doc_;
    Clock clock_;
    AnalysisOptions options_;
    TestAnalysis analysis_;
    bool stale_ = true;
    int runs_ = 0;

    QTextBrowser* view_ = nullptr;
    QLabel* modulus_label_ = nullptr;
    QLabel* ratio_label_ = nullptr;
    QLabel* composite_label_ = nullptr;
    QLineEdit* modulus_ = nullptr;
    QCheckBox* take_005d_ = nullptr;
    QLineEdit* ratio_ = nullptr;
    QComboBox* composite_ = nullptr;
    QLineEdit* manual_value_ = nullptr;
    QCheckBox* at_least_ = nullptr;
    QLineEdit* note_ = nullptr;
    QPushButton* manual_ = nullptr;
    QPushButton* clear_ = nullptr;
};

}  // namespace kvd
