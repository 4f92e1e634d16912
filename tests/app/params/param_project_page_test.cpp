// The project page (工程参数) on the sample tests: what it shows, a typed
// value taken or refused with the range message, when it writes the record
// (leaving the page, hints 0, 10 and 20), the captions by test object, the
// load conversion between kN and kPa, the pressure methods and the averaged
// channels.

#include "app/params/param_test_support.h"

namespace kvd::testing {
namespace {

TEST_F(ParamPagesTest, ProjectPageShowsThePileTestAndTakesOnlyValuesInRange) {
    open("demo.PTX");
    CParaView page(doc_);
    look_at(&page, "param_project_demo.png");
    EXPECT_EQ(page.site_name_box()->text(), text("某某花园二期 3#楼"));
    EXPECT_EQ(page.pile_number_box()->text(), text("S-12"));
    EXPECT_EQ(page.serial_number_box()->text(), text("JC2023-0612-015"));
    EXPECT_TRUE(page.serial_number_box()->isReadOnly());
    EXPECT_EQ(page.pile_length_box()->text(), text("32.500"));
    EXPECT_EQ(page.pile_diameter_box()->text(), text("800"));
    EXPECT_EQ(page.cylinder_bore_box()->text(), text("320"));
    EXPECT_EQ(page.jack_count_box()->text(), text("2"));
    EXPECT_EQ(page.site_name_box()->maxLength(), 65);
    EXPECT_EQ(page.pile_number_box()->maxLength(), 15);
    EXPECT_EQ(page.test_date()->date(), QDateTime::fromSecsSinceEpoch(header().test_time).date());
    EXPECT_EQ(label_text(page.length_label()), text("桩     长"));
    EXPECT_EQ(label_text(page.number_label()), text("试验桩号"));
    EXPECT_TRUE(page.pile_length_box()->isVisible());
    EXPECT_FALSE(page.plate_area_box()->isVisible());
    EXPECT_EQ(page.test_object()->checkedId(), 0);
    EXPECT_EQ(page.pressure_method()->checkedId(), 0);
    // The averaged boxes: ticked as the header says, enabled for channels in use.
    for (int j = 0; j < kChannelCount; ++j) {
        EXPECT_EQ(page.averaged_box(j)->isChecked(), header().averaged[j] == 1) << j;
        EXPECT_EQ(page.averaged_box(j)->isEnabled(), header().in_use[j] == 1) << j;
    }

    // A jack count beyond one byte is refused and the old value stays.
    type_into(page.jack_count_box(), "300");
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(last_message(), "千斤顶数量: 请输入一个介于 0 和 255 之间的整数。");
    EXPECT_EQ(ui_.shown().back().caption, kApplicationTitle);
    EXPECT_EQ(page.jack_count_box()->text(), text("2"));
    EXPECT_EQ(page.fields().jack_count, 2);
    EXPECT_FALSE(doc_.is_modified());
    // Four characters hold no more than 9999.
    type_into(page.pile_diameter_box(), "12345");
    EXPECT_EQ(last_message(), "桩径: 请输入一个介于 0 和 9999 之间的整数。");
    EXPECT_EQ(page.pile_diameter_box()->text(), text("800"));
    // Text that is no number at all.
    type_into(page.pile_length_box(), "-");
    EXPECT_EQ(last_message(), "请输入一个数字。");
    EXPECT_EQ(page.pile_length_box()->text(), text("32.500"));
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(ParamPagesTest, ProjectPageWritesTheRecordWhenApplied) {
    open("demo.PTX");
    CParaView page(doc_);
    type_into(page.site_name_box(), text("新工地"));
    type_into(page.pile_length_box(), "30.25");
    type_into(page.jack_count_box(), "4");
    EXPECT_TRUE(ui_.shown().empty());
    EXPECT_EQ(page.pile_length_box()->text(), text("30.250"));
    // Taken into the page and the document marked modified, but not yet stored.
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(read_gbk_field(header().site_name), "某某花园二期 3#楼");

    page.apply();
    EXPECT_EQ(read_gbk_field(header().site_name), "新工地");
    EXPECT_EQ(params().site_name, "新工地");
    EXPECT_FLOAT_EQ(header().pile_length, 30.25f);
    EXPECT_EQ(header().jack_count, 4);
    EXPECT_EQ(log_.count(hint::kRefresh), 1);

    // Hint 20 stores too; with nothing typed it changes nothing.
    doc_.set_modified(false);
    doc_.update_all_views(hint::kStoreProjectPage);
    EXPECT_FALSE(doc_.is_modified());
    EXPECT_EQ(read_gbk_field(header().site_name), "新工地");
}

TEST_F(ParamPagesTest, ProjectPageLeftAppliesItself) {
    open("demo.PTX");
    QWidget window;
    auto* page = new CParaView(doc_, &window);
    auto* elsewhere = new QLineEdit(&window);
    page->setGeometry(0, 0, 700, 300);
    elsewhere->setGeometry(0, 310, 100, 20);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // Passing through writes nothing.
    page->site_name_box()->setFocus();
    ASSERT_TRUE(testing::wait_until([&] { return page->site_name_box()->hasFocus(); }));
    elsewhere->setFocus();
    ASSERT_TRUE(testing::wait_until([&] { return elsewhere->hasFocus(); }));
    EXPECT_FALSE(doc_.is_modified());
    EXPECT_TRUE(log_.hints.empty());

    page->site_name_box()->setFocus();
    ASSERT_TRUE(testing::wait_until([&] { return page->site_name_box()->hasFocus(); }));
    QTest::keyClicks(page->site_name_box(), "-B");
    elsewhere->setFocus();
    ASSERT_TRUE(testing::wait_until([&] { return elsewhere->hasFocus(); }));
    EXPECT_EQ(read_gbk_field(header().site_name), "某某花园二期 3#楼-B");
    EXPECT_TRUE(doc_.is_modified());
}

TEST_F(ParamPagesTest, ProjectPageKeepsPendingEditsAndShowsOtherChangesOnHint0) {
    open("demo.PTX");
    CParaView page(doc_);
    type_into(page.pile_number_box(), "S-13");
    // Another part of the program changes the working parameters and refreshes.
    params().averaged[1] = 0;
    doc_.update_all_views(hint::kRefresh);
    EXPECT_EQ(read_gbk_field(header().pile_number), "S-13");
    EXPECT_EQ(page.pile_number_box()->text(), text("S-13"));
    EXPECT_FALSE(page.averaged_box(1)->isChecked());
    EXPECT_EQ(params().averaged[1], 0);
    EXPECT_FALSE(page.pending());
}

TEST_F(ParamPagesTest, ProjectPageRelabelsByTestObject) {
    open("plate.PTX");
    CParaView page(doc_);
    look_at(&page, "param_project_plate.png");
    EXPECT_EQ(label_text(page.length_label()), text("压板面积"));
    EXPECT_EQ(label_text(page.diameter_label()), text("置 换 率"));
    EXPECT_EQ(label_text(page.number_label()), text("试验点号"));
    EXPECT_TRUE(page.plate_area_box()->isVisible());
    EXPECT_TRUE(page.replacement_ratio_box()->isVisible());
    EXPECT_FALSE(page.pile_length_box()->isVisible());
    EXPECT_EQ(page.plate_area_box()->text(), text("0.500"));
    // The loads are in kPa: the area they were converted over stays.
    EXPECT_FALSE(page.plate_area_box()->isEnabled());

    page.test_object()->button(0)->click();
    EXPECT_EQ(label_text(page.length_label()), text("桩     长"));
    EXPECT_EQ(label_text(page.diameter_label()), text("桩     径"));
    EXPECT_EQ(label_text(page.number_label()), text("试验桩号"));
    EXPECT_TRUE(page.pile_length_box()->isVisible());
    EXPECT_FALSE(page.plate_area_box()->isVisible());
}

TEST_F(ParamPagesTest, ProjectPageConvertsTheLoadsWhenTheUnitChanges) {
    open("demo.PTX");
    CParaView page(doc_);
    const std::vector<int> kn = loads();
    // A foundation test with a plate of 2 m², switched to kPa: every load halves,
    // halves rounded up.
    page.test_object()->button(1)->click();
    ASSERT_TRUE(page.plate_area_box()->isEnabled());
    type_into(page.plate_area_box(), "2");
    page.pressure_unit()->button(1)->click();
    page.apply();
    const std::vector<int> kpa = loads();
    ASSERT_EQ(kpa.size(), kn.size());
    for (std::size_t i = 0; i < kn.size(); ++i) EXPECT_EQ(kpa[i], (kn[i] + 1) / 2) << i;
    EXPECT_TRUE(params().in_kpa());
    EXPECT_EQ(header().pressure_unit, 1);
    EXPECT_FALSE(page.plate_area_box()->isEnabled());
    EXPECT_TRUE(doc_.is_modified());

    // And back to kN over the same area.
    page.pressure_unit()->button(0)->click();
    page.apply();
    EXPECT_FALSE(params().in_kpa());
    EXPECT_EQ(loads()[1], 2 * kpa[1]);
}

TEST_F(ParamPagesTest, ProjectPageKeepsTheUnitWithoutAPlateArea) {
    open("demo.PTX");  // a pile test: plate area 0
    CParaView page(doc_);
    const std::vector<int> before = loads();
    page.test_object()->button(1)->click();
    page.pressure_unit()->button(1)->click();
    page.apply();
    EXPECT_EQ(last_message(), kNoPlateAreaMessage);
    EXPECT_EQ(ui_.shown().back().icon, MessageIcon::kError);
    EXPECT_EQ(loads(), before);
    EXPECT_FALSE(params().in_kpa());
    EXPECT_EQ(header().test_object, 0);
    EXPECT_EQ(page.test_object()->checkedId(), 0);
    EXPECT_EQ(page.pressure_unit()->checkedId(), 0);
}

TEST_F(ParamPagesTest, PressureMethodsAreCheckedWhenChosen) {
    open("demo.PTX");
    CParaView page(doc_);
    // 回归方程 with k = 0: refused, the previous method stays.
    page.pressure_method()->button(3)->click();
    EXPECT_EQ(last_message(), "回归方程中k 系数不能小于等于0");
    EXPECT_EQ(ui_.shown().back().caption, kCaptionError);
    EXPECT_EQ(ui_.shown().back().icon, MessageIcon::kError);
    EXPECT_EQ(page.pressure_method()->checkedId(), 0);
    EXPECT_EQ(header().pressure_method, 0);
    EXPECT_FALSE(doc_.is_modified());

    page.pressure_method()->button(2)->click();
    EXPECT_EQ(last_message(), "率定方程中k 系数不能小于等于0");
    EXPECT_EQ(page.pressure_method()->checkedId(), 0);

    // A k typed but not yet left counts: the radio takes it first.
    page.calibration_k_box()->selectAll();
    QTest::keyClicks(page.calibration_k_box(), "1.5");
    page.pressure_method()->button(2)->click();
    EXPECT_EQ(page.pressure_method()->checkedId(), 2);
    EXPECT_EQ(header().pressure_method, 2);
    EXPECT_FLOAT_EQ(header().equation_k, 1.5f);
    EXPECT_TRUE(doc_.is_modified());

    // Back to the bore with a bore of 0.
    type_into(page.cylinder_bore_box(), "0");
    ui_.clear_log();
    page.pressure_method()->button(0)->click();
    EXPECT_EQ(last_message(), "油缸内径不能小于等于0");
    EXPECT_EQ(page.pressure_method()->checkedId(), 2);
    EXPECT_EQ(header().pressure_method, 2);
}

TEST_F(ParamPagesTest, AveragedChannelBoxesStoreAtOnceAndRefreshTheViews) {
    open("demo.PTX");
    CParaView page(doc_);
    // Untick every averaged test-pile gauge: every settlement becomes 0.
    for (int j = 0; j < kChannelCount; ++j) {
        if (page.averaged_box(j)->isChecked()) page.averaged_box(j)->click();
    }
    for (int j = 0; j < kChannelCount; ++j) {
        EXPECT_EQ(header().averaged[j], 0) << j;
        EXPECT_EQ(params().averaged[static_cast<std::size_t>(j)], 0) << j;
    }
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_GE(log_.count(hint::kRefresh), 1);
    doc_.refresh_derived();
    for (const auto& grade : doc_.record().grades.grades()) {
        for (const auto& point : grade.points()) EXPECT_EQ(point.settlement, 0);
    }
    page.averaged_box(0)->click();
    EXPECT_EQ(header().averaged[0], 1);
}

}  // namespace
}  // namespace kvd::testing
