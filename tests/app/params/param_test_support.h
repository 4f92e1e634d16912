#pragma once
// What the parameter page tests share: a document with scripted answers that
// opens the samples, a log of the hints it sends, typing into a box as the
// user does, and pictures of the pages (KVD_APP_PNG_DIR).

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/modal_driver.h"
#include "app/params/param_alarm_page.h"
#include "app/params/param_control_page.h"
#include "app/params/param_displacement_page.h"
#include "app/params/param_pages.h"
#include "app/params/param_project_page.h"
#include "app/params/param_standard_page.h"
#include "base/text_codec.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"

namespace kvd::testing {

inline std::string sample(const char* name) {
    return std::string(KVD_SOURCE_DIR) + "/samples/" + name;
}

// Counts the hints the document sends to its views.
struct HintLog : DocView {
    std::vector<int> hints;
    void on_update(int hint) override { hints.push_back(hint); }
    int count(int hint) const {
        return static_cast<int>(std::count(hints.begin(), hints.end(), hint));
    }
};

// Types a text into a box as the user does (Chinese through the input
// method) and leaves it with Enter.
inline void type_into(QLineEdit* box, const QString& text) {
    box->selectAll();
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QApplication::sendEvent(box, &typed);
    QTest::keyClick(box, Qt::Key_Return);
}

inline QString text(const char* utf8_text) {
    return QString::fromUtf8(utf8_text);
}
inline QString label_text(QLabel* label) {
    return label->text();
}

// A document for each test; pages made in a test go before it.
class ParamPagesTest : public ::testing::Test {
protected:
    void open(const char* name) {
        ASSERT_TRUE(doc_.open(sample(name))) << name;
        doc_.add_view(&log_);
        ui_.clear_log();
    }
    // The last message shown, or "" when none was.
    std::string last_message() const { return ui_.shown().empty() ? "" : ui_.shown().back().text; }
    TestHeader& header() { return doc_.record().header; }
    TestParams& params() { return doc_.record().test_params; }
    std::vector<int> loads() const {
        std::vector<int> all;
        for (const auto& grade : doc_.record().grades.grades()) {
            for (const auto& point : grade.points()) all.push_back(point.load);
        }
        return all;
    }
    // A page sized as in the pane, shown offscreen and kept as a picture.
    void look_at(QWidget* page, const std::string& picture) {
        page->resize(780, 330);
        page->show();
        QApplication::processEvents();
        keep_picture(page, picture);
        // And the whole form, as scrolling shows it.
        if (auto* scroll = qobject_cast<QScrollArea*>(page)) {
            keep_picture(scroll->widget(), "whole_" + picture);
        }
    }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_, [] { return std::int64_t{1700000000}; }};
    HintLog log_;
};

}  // namespace kvd::testing
