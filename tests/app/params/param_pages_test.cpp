// The displacement, standard, control and alarm pages and the five pages
// together: what each shows, a typed value taken or refused, when the record
// is written (hints 10 and 20, the type and standard choices), the standards
// and the controls that follow the choices, the disable and enable hints.

#include "app/params/param_test_support.h"
#include "record/grade_compute.h"
#include "tables/table_edit_commands.h"

namespace kvd::testing {
namespace {

TEST_F(ParamPagesTest, FactoryBuildsTheFivePagesInTabOrder) {
    open("demo.PTX");
    QWidget parent;
    const auto pages = make_parameter_pages(doc_, &parent);
    ASSERT_EQ(pages.size(), 5u);
    const char* titles[] = {"工程参数", "位移参数", "试验标准", "控制参数", "报警参数"};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].first, text(titles[i]));
        EXPECT_EQ(pages[i].second->parent(), &parent);
    }
    EXPECT_NE(qobject_cast<CParaView*>(pages[0].second), nullptr);
    EXPECT_NE(qobject_cast<CJiXianView*>(pages[4].second), nullptr);
}

TEST_F(ParamPagesTest, DisplacementPageShowsTheChannelsAndStoresOnHint10) {
    open("demo.PTX");
    CWeiYiView page(doc_);
    look_at(&page, "param_displacement_demo.png");
    for (int j = 0; j < kChannelCount; ++j) {
        const auto& row = page.row(j);
        EXPECT_EQ(row.in_use->isChecked(), header().in_use[j] == 1) << j;
        EXPECT_EQ(row.sensor_number->text().toStdString(),
                  read_gbk_field(header().sensor_numbers[j]));
        EXPECT_EQ(row.purpose->checkedId(), header().test_pile[j] == 1 ? 1 : 0) << j;
        EXPECT_EQ(row.direction->checkedId(), header().shortens[j] == 1 ? 1 : 0) << j;
        EXPECT_EQ(row.purpose->button(0)->isEnabled(), header().in_use[j] == 1) << j;
    }
    ASSERT_EQ(header().in_use[10], 0);
    page.row(10).in_use->click();
    EXPECT_TRUE(page.row(10).purpose->button(1)->isEnabled());
    page.row(10).purpose->button(1)->click();
    page.row(10).direction->button(1)->click();
    type_into(page.row(10).sensor_number, "WY-11");
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(header().in_use[10], 0);  // not before the pages store

    doc_.update_all_views(hint::kStorePages);
    EXPECT_EQ(header().in_use[10], 1);
    EXPECT_EQ(header().test_pile[10], 1);
    EXPECT_EQ(header().shortens[10], 1);
    EXPECT_EQ(read_gbk_field(header().sensor_numbers[10]), "WY-11");
}

TEST_F(ParamPagesTest, AnEditTypedIntoAPageIsUndoneAndTheReloadedPageShowsIt) {
    open("demo.PTX");
    CWeiYiView page(doc_);
    ASSERT_EQ(header().in_use[10], 0);
    const QString number = page.row(10).sensor_number->text();
    ASSERT_NE(number, QStringLiteral("WY-11"));
    page.row(10).in_use->click();
    type_into(page.row(10).sensor_number, "WY-11");
    ASSERT_TRUE(doc_.is_modified());

    // Undo stores the pending edit as its own step first, then takes it back.
    ASSERT_TRUE(doc_.undo());
    EXPECT_EQ(header().in_use[10], 0);
    EXPECT_FALSE(page.row(10).in_use->isChecked());
    EXPECT_EQ(page.row(10).sensor_number->text(), number);
    EXPECT_FALSE(doc_.is_modified());
    ASSERT_TRUE(doc_.redo());
    EXPECT_EQ(header().in_use[10], 1);
    EXPECT_TRUE(page.row(10).in_use->isChecked());
    EXPECT_EQ(page.row(10).sensor_number->text(), QStringLiteral("WY-11"));
    EXPECT_TRUE(doc_.is_modified());
}

TEST_F(ParamPagesTest, StandardPageShowsTheScheduleAndClearsTheUnitByte) {
    open("plate.PTX");
    ASSERT_EQ(header().pressure_unit, 1);
    CShiYanView page(doc_);
    look_at(&page, "param_standard_plate.png");
    EXPECT_EQ(header().pressure_unit, 0);
    EXPECT_EQ(page.standard_list()->currentText(), text("GB50007-2011 浅层平板载荷试验"));
    EXPECT_EQ(page.standard_list()->count(), 20);
    EXPECT_EQ(page.test_type()->checkedId(), 0);
    EXPECT_EQ(label_text(page.max_load_label()), text("最大载荷值(kPa)"));
    EXPECT_EQ(page.max_load_box()->text(), text("400"));
    EXPECT_EQ(page.loading_grades_box()->text(), text("8"));
    for (int i = 0; i < kIntervalCount; ++i) {
        EXPECT_EQ(page.load_interval_box(i)->text(), QString::number(header().load_intervals[i]));
    }
    // Out of range: refused, old value kept.
    type_into(page.stability_minutes_box(), "1001");
    EXPECT_EQ(last_message(), "每次判稳时间(分钟): 请输入一个介于 0 和 1000 之间的整数。");
    EXPECT_EQ(page.stability_minutes_box()->text(), text("60"));
}

TEST_F(ParamPagesTest, TheLargestLoadIsLabelledInTheUnitOfTheTest) {
    open("demo.PTX");  // a pile test in kN
    ASSERT_FALSE(doc_.record().test_params.in_kpa());
    CShiYanView page(doc_);
    EXPECT_EQ(label_text(page.max_load_label()), text("最大载荷值(kN)"));

    open("plate.PTX");  // a plate test in kPa
    ASSERT_TRUE(doc_.record().test_params.in_kpa());
    EXPECT_EQ(label_text(page.max_load_label()), text("最大载荷值(kPa)"));

    // Switching the unit (as the project page does: the unit, then the
    // loads) relabels the page.
    doc_.record().test_params.pressure_unit = 0;
    ASSERT_TRUE(doc_.convert_load_unit(false));
    EXPECT_EQ(label_text(page.max_load_label()), text("最大载荷值(kN)"));
}

TEST_F(ParamPagesTest, TheProjectPageWritesTheUnitBackBeforeASave) {
    open("plate.PTX");
    QWidget parent;
    const auto pages = make_parameter_pages(doc_, &parent);
    EXPECT_EQ(header().pressure_unit, 0);
    const auto folder = std::filesystem::temp_directory_path() / "kvd_param_pages";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(doc_.save((folder / "plate.PTX").string()));
    EXPECT_EQ(header().pressure_unit, 1);
    EXPECT_FALSE(doc_.is_modified());
    CLbxDoc reread(ui_);
    ASSERT_TRUE(reread.open((folder / "plate.KVD").string()));
    EXPECT_TRUE(reread.record().test_params.in_kpa());
    std::filesystem::remove_all(folder);
}

// Every kind of change a user makes, with the five pages open as in the
// window, is what the saved file holds when it is opened again.
TEST_F(ParamPagesTest, EveryKindOfChangeSurvivesSaveAndReopen) {
    open("plate.PTX");
    QWidget parent;
    const auto pages = make_parameter_pages(doc_, &parent);
    auto* project = qobject_cast<CParaView*>(pages[0].second);
    ASSERT_NE(project, nullptr);

    // An interval from the detail tables' dialog.
    IntervalTable load = params().load_intervals;
    IntervalTable unload = params().unload_intervals;
    load[1] += 5;
    unload[2] += 7;
    ui_.queue_intervals(load, unload);
    ASSERT_TRUE(table_edit::change_sampling_intervals(doc_));
    // A reading and a load.
    ui_.queue_number(0.25);
    ASSERT_TRUE(table_edit::add_fixed_value(doc_, 2, 1));
    for (SamplePoint& point : doc_.record().grades.grade(3)->points()) point.load += 3;
    doc_.commit_change(hint::kRefresh, true);
    // The channel setup.
    ChannelSetup setup = doc_.channel_setup();
    const int added =
        static_cast<int>(std::find(setup.roles.begin(), setup.roles.end(), ChannelRole::kUnused) -
                         setup.roles.begin());
    ASSERT_LT(added, kChannelCount);
    setup.roles[static_cast<std::size_t>(added)] = ChannelRole::kAnchorPile;
    doc_.apply_channel_setup(setup);
    // The unit and a page field.
    project->pressure_unit()->button(0)->click();
    type_into(project->pile_number_box(), text("S-17"));
    doc_.update_all_views(hint::kStoreProjectPage);
    ASSERT_FALSE(params().in_kpa());
    // Once more after the pages were written: the later interval counts.
    load[3] += 1;
    ui_.queue_intervals(load, unload);
    ASSERT_TRUE(table_edit::change_sampling_intervals(doc_));

    const auto folder = std::filesystem::temp_directory_path() / "kvd_every_change";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(doc_.save((folder / "plate.PTX").string()));
    const TestRecord& edited = doc_.record();

    ScriptedUserInterface reread_ui;
    CLbxDoc reread(reread_ui);
    ASSERT_TRUE(reread.open((folder / "plate.KVD").string()));
    std::filesystem::remove_all(folder);
    TestRecord& again = reread.record();
    refresh_derived(again);
    EXPECT_EQ(again.test_params.load_intervals, load);
    EXPECT_EQ(again.test_params.unload_intervals, unload);
    EXPECT_EQ(again.test_params.channel_role, edited.test_params.channel_role);
    EXPECT_EQ(again.test_params.averaged, edited.test_params.averaged);
    EXPECT_EQ(again.test_params.pressure_unit, 0);
    EXPECT_EQ(again.test_params.pile_number, "S-17");
    ASSERT_EQ(again.grades.grade_count(), edited.grades.grade_count());
    for (int g = 0; g < edited.grades.grade_count(); ++g) {
        ASSERT_EQ(again.grades.reading_count(g), edited.grades.reading_count(g));
        for (int i = 0; i < edited.grades.reading_count(g); ++i) {
            const SamplePoint a = *again.grades.get_reading(g, i);
            const SamplePoint b = *edited.grades.get_reading(g, i);
            EXPECT_EQ(a.load, b.load) << g << " " << i;
            EXPECT_EQ(a.minutes, b.minutes) << g << " " << i;
            EXPECT_EQ(a.settlement, b.settlement) << g << " " << i;
        }
    }
}

TEST_F(ParamPagesTest, ChoosingATestTypeAppliesItsDefaultStandard) {
    open("demo.PTX");
    CShiYanView page(doc_);
    page.test_type()->button(1)->click();
    EXPECT_EQ(page.standard_list()->count(), 3);
    EXPECT_EQ(page.standard_list()->currentText(), text("JGJ106-2014 单桩竖向抗拔静载试验"));
    EXPECT_EQ(page.fields().test_code, 1);
    EXPECT_EQ(header().test_type, 1);
    EXPECT_EQ(header().direction_kind, 2);
    EXPECT_EQ(params().direction_kind, 2);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.count(hint::kRefresh), 1);

    // Clicking the chosen type again keeps what the page holds.
    type_into(page.loading_grades_box(), "12");
    page.test_type()->button(1)->click();
    EXPECT_EQ(page.fields().loading_grades, 12);

    page.test_type()->button(2)->click();
    look_at(&page, "param_standard_horizontal.png");
    EXPECT_EQ(page.standard_list()->currentText(), text("JGJ94-94 单桩水平静载试验"));
    EXPECT_EQ(page.stability_check()->checkedId(), 1);
    EXPECT_EQ(label_text(page.stability_minutes_label()), text("每级加载时间(分钟)"));
    for (QWidget* control : page.stability_controls()) EXPECT_FALSE(control->isVisible());
    EXPECT_EQ(params().direction_kind, 2);  // horizontal leaves it

    // Hint 10 writes the schedule.
    doc_.update_all_views(hint::kStorePages);
    EXPECT_EQ(read_gbk_field(header().test_method), "JGJ94-94 单桩水平静载试验");
    EXPECT_EQ(header().test_code, 10);
    EXPECT_EQ(header().stability_check_off, 1);
    EXPECT_EQ(header().stability_minutes, 4);
    EXPECT_EQ(header().load_intervals[1], 4);
    EXPECT_EQ(header().load_intervals[2], 2);
}

TEST_F(ParamPagesTest, ChoosingAStandardFillsItsRowAndUserEntriesKeepThePage) {
    open("demo.PTX");
    CShiYanView page(doc_);
    QComboBox* list = page.standard_list();
    const int fast = list->findText(text("快速维持荷载法——2小时"));
    ASSERT_GE(fast, 0);
    list->setCurrentIndex(fast);
    emit list->activated(fast);
    EXPECT_EQ(page.stability_check()->checkedId(), 1);
    EXPECT_EQ(label_text(page.stability_minutes_label()), text("每级加载时间(分钟)"));
    EXPECT_EQ(page.stability_minutes_box()->text(), text("120"));
    EXPECT_EQ(page.fields().fast_method, 1);

    // Back to a checked standard: the stability controls show again.
    page.stability_check()->button(0)->click();
    for (QWidget* control : page.stability_controls()) EXPECT_FALSE(control->isHidden());

    // A user-defined entry: the compression resets, every other value as typed.
    type_into(page.loading_grades_box(), "12");
    const int own = list->findText(text("竖向静载荷用户自定义试验"));
    list->setCurrentIndex(own);
    emit list->activated(own);
    EXPECT_EQ(page.loading_grades_box()->text(), text("12"));
    EXPECT_EQ(page.last_unloading_box()->text(), text("0"));
    EXPECT_EQ(page.fields().test_code, 0);
    EXPECT_EQ(page.fields().fast_method, 0);
}

TEST_F(ParamPagesTest, ControlPageShowsOneReloadingAmountAndStoresOnHint20) {
    open("demo.PTX");
    CHeZaiView page(doc_);
    look_at(&page, "param_control_demo.png");
    // The sample reloads by percentage.
    EXPECT_EQ(page.reloading_mode()->checkedId(), 1);
    EXPECT_TRUE(page.percentage_box()->isVisible());
    EXPECT_FALSE(page.amount_box()->isVisible());
    EXPECT_EQ(page.amount_unit()->text(), text("%"));
    EXPECT_EQ(page.pressurising_time_box()->text(), text("600"));
    EXPECT_EQ(page.instrument_number_box()->text().toStdString(),
              read_gbk_field(header().instrument_number));
    EXPECT_EQ(page.upload_mode()->currentIndex(), header().upload_mode);

    page.reloading_mode()->button(0)->click();
    EXPECT_TRUE(page.amount_box()->isVisible());
    EXPECT_FALSE(page.percentage_box()->isVisible());
    EXPECT_EQ(page.amount_unit()->text(), text("kN"));
    page.reloading()->button(1)->click();
    EXPECT_FALSE(page.amount_box()->isVisible());
    EXPECT_FALSE(page.percentage_box()->isVisible());
    EXPECT_FALSE(page.amount_unit()->isVisible());
    EXPECT_FALSE(page.reloading_mode()->button(0)->isVisible());

    type_into(page.pressurising_time_box(), "2001");
    EXPECT_EQ(last_message(), "最长加压时间 (秒): 请输入一个介于 0 和 2000 之间的整数。");
    EXPECT_EQ(page.pressurising_time_box()->text(), text("600"));
    type_into(page.longitude_box(), "114.25");
    page.load_sensor()->button(0)->click();
    page.test_mode()->button(1)->click();

    doc_.update_all_views(hint::kStoreProjectPage);
    EXPECT_EQ(header().reloading_off, 1);
    EXPECT_EQ(header().reloading_mode, 0);
    EXPECT_EQ(header().test_mode, 1);
    EXPECT_DOUBLE_EQ(header().longitude, 114.25);
    EXPECT_EQ(header().load_sensor_type, 1);  // always oil pressure
    EXPECT_EQ(header().longest_pressurising_time, 600);
}

TEST_F(ParamPagesTest, AlarmValuesReachTheRecordOnlyWithHint10) {
    open("uplift.PTX");
    CJiXianView page(doc_);
    look_at(&page, "param_alarm_uplift.png");
    EXPECT_EQ(page.limit_box(0)->text(), text("10"));
    EXPECT_EQ(page.limit_box(1)->text(), text("40"));
    EXPECT_EQ(page.multiple_box(0)->text(), text("5"));
    EXPECT_TRUE(page.grade_alarm_box(1)->isChecked());

    type_into(page.limit_box(1), "35.5");
    type_into(page.multiple_box(1), "70000");
    EXPECT_EQ(last_message(), "后级沉降≥前级沉降 倍数: 请输入一个介于 0 和 65535 之间的整数。");
    EXPECT_EQ(page.multiple_box(1)->text(), text("2"));
    type_into(page.multiple_box(1), "65535");
    page.grade_alarm_box(0)->click();
    EXPECT_FLOAT_EQ(header().alarm_limits[1], 40.0f);
    EXPECT_TRUE(doc_.is_modified());
    // A value still being typed when the pages store is checked then.
    page.multiple_box(0)->selectAll();
    QTest::keyClicks(page.multiple_box(0), "99999");
    ui_.clear_log();

    doc_.update_all_views(hint::kStorePages);
    EXPECT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(header().grade_alarm_multiple[0], 5);
    EXPECT_EQ(page.multiple_box(0)->text(), text("5"));
    EXPECT_FLOAT_EQ(header().alarm_limits[1], 35.5f);
    EXPECT_EQ(header().grade_alarm_multiple[1], 65535);
    EXPECT_EQ(header().grade_alarm_on[0], 0);

    // Reading the file again shows the file's values.
    ASSERT_TRUE(doc_.open(sample("uplift.PTX")));
    EXPECT_EQ(page.limit_box(1)->text(), text("40"));
    EXPECT_EQ(page.multiple_box(1)->text(), text("2"));
    EXPECT_FALSE(page.pending());
}

TEST_F(ParamPagesTest, PagesFollowTheDisableAndEnableHints) {
    open("demo.PTX");
    QWidget parent;
    const auto pages = make_parameter_pages(doc_, &parent);
    doc_.update_all_views(hint::kDisablePages);
    for (const auto& [title, page] : pages) {
        EXPECT_FALSE(static_cast<ParamPage*>(page)->form()->isEnabled()) << title.toStdString();
    }
    doc_.update_all_views(hint::kEnablePages);
    for (const auto& [title, page] : pages) {
        EXPECT_TRUE(static_cast<ParamPage*>(page)->form()->isEnabled()) << title.toStdString();
    }
}

}  // namespace
}  // namespace kvd::testing
