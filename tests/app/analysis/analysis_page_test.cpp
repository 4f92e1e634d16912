// The "承载力分析" tab: what it shows for a sample against the analysis of the
// same record, the engineer's choice through the document (undo, redo,
// saving and reopening), the stale choice after an edit, refused texts, the
// analysis that waits while the tab is hidden, and the chosen load on the
// Q-s curve of the window.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>

#include "analysis/bearing_analysis.h"
#include "app/analysis/analysis_page.h"
#include "app/analysis/analysis_texts.h"
#include "app/curves/curve_view.h"
#include "app/frame/frame_test_support.h"
#include "app/modal_driver.h"
#include "app/frame/sheets_wnd.h"
#include "base/numeric.h"
#include "curves/q_s.h"

namespace kvd::testing {
namespace {

class AnalysisPageTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        make_frame(false, true, QSize(1400, 900));
    }

    AnalysisPage& page() { return *frame().analysis_page(); }
    // The page's text, brought up to date as showing the tab would.
    std::string shown_text() {
        page().analysis();
        return page().view()->toPlainText().toStdString();
    }
    const CQ_s& qs() {
        return static_cast<const CQ_s&>(frame().curve_view(CurveKind::kQs)->curve());
    }

    // Raises every gauge of the last reading of a grade, as a typed correction does.
    void edit_reading(int grade) {
        CommandStep step(doc(), "修改数据");
        COneGradeData& data = doc().record().grades.grades()[static_cast<std::size_t>(grade)];
        SamplePoint point = data.back();
        for (double& channel : point.channel) channel += 0.5;
        data.put(data.size() - 1, point);
        doc().commit_change(change_notice(grade, data.size() - 1), false);
    }
};

TEST_F(AnalysisPageTest, TheTabShowsTheRulesInOrderWithTheValuesOfTheAnalysis) {
    for (const char* name : {"demo.PTX", "uplift.PTX", "plate.PTX"}) {
        ASSERT_TRUE(frame().open_file(copy(name))) << name;
        // The tab follows the tables.
        CTableSheet& sheet = frame().table_sheet();
        EXPECT_EQ(sheet.page_title(sheet.index_of(&page())), QStringLiteral("承载力分析"));
        ASSERT_TRUE(frame().show_analysis());

        const TestAnalysis expected = analyse_test(doc().record());
        const TestAnalysis& shown = page().analysis();
        EXPECT_EQ(shown.data_fingerprint, expected.data_fingerprint) << name;
        ASSERT_EQ(shown.rules.size(), expected.rules.size()) << name;
        ASSERT_FALSE(expected.rules.empty()) << name;

        const std::string text = shown_text();
        EXPECT_NE(text.find(std::string(family_title(expected.family))), std::string::npos);
        EXPECT_NE(text.find(expected.standard), std::string::npos) << name;
        EXPECT_NE(text.find("试验终止原因"), std::string::npos);
        EXPECT_NE(text.find("对比方法（仅供参考）"), std::string::npos);
        // Each rule's title, clause, value and source, in the standard's order.
        std::size_t at = text.find("判定规则");
        ASSERT_NE(at, std::string::npos);
        for (const RuleResult& rule : expected.rules) {
            for (const std::string& part :
                 {rule.title, rule.clause, rule_value_text(rule, expected.unit),
                  describe_source(rule.source)}) {
                if (part.empty()) continue;
                const std::size_t found = text.find(part, at);
                ASSERT_NE(found, std::string::npos) << name << ": " << rule.title << " / " << part;
                at = found;
            }
        }
        const std::size_t methods = text.find("对比方法（仅供参考）");
        for (const RuleResult& method : expected.methods) {
            EXPECT_NE(text.find(method.title, methods), std::string::npos) << method.title;
        }
        // A picture of the whole page when asked for (KVD_APP_PNG_DIR).
        page().resize(1000, 1600);
        keep_picture(&page(), std::string("analysis_") + name + ".png");
        // Units as the analysis says.
        EXPECT_NE(text.find(format_quantity(expected.max_load, expected.unit)), std::string::npos);
    }
}

TEST_F(AnalysisPageTest, AChoiceIsUndoneRedoneSavedAndShownAgainAfterReopening) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    ASSERT_TRUE(frame().show_analysis());
    const TestAnalysis analysis = page().analysis();
    const RuleResult* rule = nullptr;
    for (const RuleResult& r : analysis.rules) {
        if (r.gives_value()) {
            rule = &r;
            break;
        }
    }
    ASSERT_NE(rule, nullptr);
    EXPECT_FALSE(qs().chosen_load());

    page().note_field()->setText(QStringLiteral("按陡降段起点"));
    ASSERT_TRUE(page().choose_link(
        QString::fromStdString("choose:rule:" + std::to_string(static_cast<int>(rule->id)))));
    ASSERT_TRUE(doc().record().engineer_choice);
    EXPECT_EQ(doc().record().engineer_choice->value, rule->value);
    EXPECT_EQ(doc().record().engineer_choice->rule, static_cast<std::uint16_t>(rule->id));
    EXPECT_EQ(doc().record().engineer_choice->note, "按陡降段起点");
    EXPECT_TRUE(doc().is_modified());
    EXPECT_TRUE(title().endsWith(QStringLiteral(" - ROzadazoza")));
    const std::string value = choice_value_text(*doc().record().engineer_choice, analysis);
    EXPECT_NE(shown_text().find(value), std::string::npos);
    EXPECT_NE(shown_text().find("工程师选定"), std::string::npos);
    ASSERT_TRUE(qs().chosen_load());
    EXPECT_EQ(qs().chosen_load()->load, rule->value);
    EXPECT_FALSE(qs().chosen_load()->stale);

    // Undo takes the choice away (and from the curve), redo brings it back.
    ASSERT_TRUE(doc().undo());
    EXPECT_FALSE(doc().record().engineer_choice);
    EXPECT_EQ(shown_text().find("工程师选定"), std::string::npos);
    EXPECT_FALSE(qs().chosen_load());
    ASSERT_TRUE(doc().redo());
    ASSERT_TRUE(doc().record().engineer_choice);
    EXPECT_NE(shown_text().find(value), std::string::npos);
    EXPECT_TRUE(doc().is_modified());

    // Saved as an analysis file and opened again: the same choice.
    const EngineerChoice saved = *doc().record().engineer_choice;
    ASSERT_TRUE(doc().save(path("demo.KVD").toStdString()));
    EXPECT_FALSE(doc().is_modified());
    ASSERT_TRUE(frame().open_file(copy("plate.PTX")));
    EXPECT_FALSE(doc().record().engineer_choice);
    EXPECT_EQ(shown_text().find("工程师选定"), std::string::npos);
    ASSERT_TRUE(frame().open_file(path("demo.KVD")));
    ASSERT_TRUE(doc().record().engineer_choice);
    EXPECT_EQ(*doc().record().engineer_choice, saved);
    EXPECT_NE(shown_text().find(value), std::string::npos);
    EXPECT_NE(shown_text().find("按陡降段起点"), std::string::npos);
    EXPECT_EQ(shown_text().find(kChoiceStaleText), std::string::npos);

    // 清除选定 is a step of its own.
    ASSERT_TRUE(page().clear_choice());
    EXPECT_FALSE(doc().record().engineer_choice);
    EXPECT_FALSE(page().clear_button()->isEnabled());
    EXPECT_EQ(doc().undo_name(), kClearCapacityStep);
}

TEST_F(AnalysisPageTest, EditingAReadingAfterChoosingShowsTheChoiceAsMadeOnOtherData) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    ASSERT_TRUE(frame().show_analysis());
    ASSERT_TRUE(page().choose_manual(QStringLiteral(" 2400 "), true, QString()));
    ASSERT_TRUE(doc().record().engineer_choice);
    EXPECT_EQ(doc().record().engineer_choice->value, 2400);
    EXPECT_TRUE(doc().record().engineer_choice->at_least);
    EXPECT_NE(shown_text().find("Qu ≥ 2400 kN"), std::string::npos);
    EXPECT_EQ(shown_text().find(kChoiceStaleText), std::string::npos);

    edit_reading(4);
    EXPECT_NE(shown_text().find(kChoiceStaleText), std::string::npos);
    // The old value stays shown, and the curve marks it in the warning colour.
    EXPECT_NE(shown_text().find("Qu ≥ 2400 kN"), std::string::npos);
    ASSERT_TRUE(qs().chosen_load());
    EXPECT_TRUE(qs().chosen_load()->stale);
    EXPECT_EQ(qs().chosen_load()->label, "Qu ≥ 2400 kN（选定）（数据已修改）");

    // Undoing the edit brings the readings the choice was made on back.
    ASSERT_TRUE(doc().undo());
    EXPECT_EQ(shown_text().find(kChoiceStaleText), std::string::npos);
    EXPECT_FALSE(qs().chosen_load()->stale);
}

TEST_F(AnalysisPageTest, RefusedTextsAreReportedAndChangeNothing) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    ASSERT_TRUE(frame().show_analysis());
    ui_.clear_log();
    for (const char* bad : {"12x", "", "2,400", "1e", "--5"}) {
        EXPECT_FALSE(page().choose_manual(QString::fromUtf8(bad), false, QString())) << bad;
    }
    ASSERT_EQ(ui_.shown().size(), 5u);
    for (const auto& shown : ui_.shown()) EXPECT_EQ(shown.text, kEnterNumberMessage);
    EXPECT_FALSE(page().choose_manual(QStringLiteral("-3"), false, QString()));
    EXPECT_EQ(ui_.shown().back().text, kChosenValueMessage);
    EXPECT_FALSE(doc().record().engineer_choice);
    EXPECT_FALSE(doc().is_modified());
    EXPECT_FALSE(doc().can_undo());

    // The settings keep their old value, in the field too.
    const double modulus = page().options().elastic_modulus_mpa;
    EXPECT_FALSE(page().set_modulus_text(QStringLiteral("3e4x")));
    EXPECT_EQ(ui_.shown().back().text, kEnterNumberMessage);
    EXPECT_EQ(page().options().elastic_modulus_mpa, modulus);
    EXPECT_EQ(page().modulus_field()->text(), QStringLiteral("30000"));
    EXPECT_FALSE(page().set_modulus_text(QStringLiteral("0")));
    EXPECT_EQ(ui_.shown().back().text, kModulusRangeMessage);
    EXPECT_FALSE(page().set_ratio_text(QStringLiteral("0.02")));
    EXPECT_EQ(ui_.shown().back().text, kRatioRangeMessage);
    EXPECT_EQ(page().options().plate_relative_settlement, kDefaultPlateRelativeSettlement);

    // A good modulus runs the analysis again with it.
    const int runs = page().analysis_runs();
    EXPECT_TRUE(page().set_modulus_text(QStringLiteral("36000")));
    EXPECT_EQ(page().options().elastic_modulus_mpa, 36000);
    EXPECT_TRUE(page().options().modulus_given);
    EXPECT_EQ(page().analysis_runs(), runs + 1);
    EXPECT_FALSE(doc().is_modified());

    // A note too long for the file is cut, and the user is told.
    const QString long_note = QString(40, QChar(0x6D4B));  // 40 × "测", 80 GBK bytes
    ASSERT_TRUE(page().choose_manual(QStringLiteral("2000"), false, long_note));
    EXPECT_EQ(doc().record().engineer_choice->note, QString(29, QChar(0x6D4B)).toStdString());
    EXPECT_EQ(ui_.shown().back().text.rfind("说明过长，已截短为：", 0), 0u);
}

TEST_F(AnalysisPageTest, TheAnalysisWaitsWhileTheTabIsHidden) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    ASSERT_TRUE(frame().show_table(TableKind::kLoad));
    const int runs = page().analysis_runs();
    for (int g = 1; g < 5; ++g) edit_reading(g);
    EXPECT_EQ(page().analysis_runs(), runs);
    EXPECT_TRUE(page().stale());

    ASSERT_TRUE(frame().show_analysis());
    EXPECT_EQ(page().analysis_runs(), runs + 1);
    EXPECT_FALSE(page().stale());
    EXPECT_EQ(page().analysis().data_fingerprint, analyse_test(doc().record()).data_fingerprint);
    // In front, every change runs it at once.
    edit_reading(2);
    EXPECT_EQ(page().analysis_runs(), runs + 2);
}

TEST_F(AnalysisPageTest, AFamilyOutsideTheAnalysisIsSaidPlainlyWithNoTables) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    doc().record().header.test_type = 2;  // a horizontal test
    doc().update_all_views(hint::kRefresh);
    ASSERT_TRUE(frame().show_analysis());
    ASSERT_EQ(page().analysis().family, TestFamily::kUnsupported);
    const std::string text = shown_text();
    EXPECT_NE(text.find(kUnsupportedFamilyText), std::string::npos);
    EXPECT_EQ(text.find("判定规则"), std::string::npos);
    EXPECT_EQ(text.find("试验终止原因"), std::string::npos);
    EXPECT_FALSE(page().manual_field()->isEnabled());
    EXPECT_FALSE(page().choose_manual(QStringLiteral("100"), false, QString()));
    EXPECT_FALSE(doc().record().engineer_choice);
}

}  // namespace
}  // namespace kvd::testing
