// How quickly the windows answer with a large test open. A test file of
// 100,000 readings is made, opened as the program opens it, and shown in a
// window of each table and each curve (1200 x 800 pixels, offscreen):
//   repaint/<window>: one full repaint of that window (the table refills
//                     itself from the document first, as on every paint; a
//                     curve draws its whole paint and compares it with the
//                     picture it keeps, drawing again what changed);
//   render/<curve>:   a curve drawn whole, as after opening a file or
//                     resizing the window (the width alternates by a pixel);
//   drag/<curve>:     one step of dragging a point with the mouse: the mouse
//                     move that changes the record, the change notice to the
//                     curves and the table in front (the load table), and the
//                     repaint of the curve and of that table.
// Each must stay well under 50 ms for the program to feel immediate.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/curves/curve_view.h"
#include "app/tables/grid_view.h"
#include "base/file_io.h"
#include "cli/sample_maker.h"
#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "doc/doc_view.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "qt/font_setup.h"
#include "qt/qt_font_metrics.h"
#include "tables/table_factory.h"

namespace {

constexpr int kReadings = 100000;
const QSize kWindowSize(1200, 800);

// Every window of the program over one document, as the main window holds them.
struct Windows : kvd::DocView {
    explicit Windows(const std::string& path) {
        if (!doc.open(path)) return;
        opened = true;
        for (kvd::TableKind kind :
             {kvd::TableKind::kSummary, kvd::TableKind::kLoad, kvd::TableKind::kUnload,
              kvd::TableKind::kRaw, kvd::TableKind::kChanges, kvd::TableKind::kAnchor}) {
            tables[kind] = kvd::make_table(kind, doc, metrics);
            grids[kind] = std::make_unique<kvd::GridView>(*tables[kind]);
            grids[kind]->resize(kWindowSize);
        }
        curves[0] = std::make_unique<kvd::CQ_s>(doc);
        curves[1] = std::make_unique<kvd::Cs_lgt>(doc);
        curves[2] = std::make_unique<kvd::Cs_lgQ>(doc);
        for (int i = 0; i < 3; ++i) {
            views[i] = std::make_unique<kvd::CurveView>(*curves[i]);
            views[i]->resize(kWindowSize);
            views[i]->grab();  // scales the curve to the window
        }
        doc.add_view(this);
    }
    ~Windows() override { doc.remove_view(this); }

    // As the main window does: every curve, and the table in front (here the
    // load table); the others refill when they are brought forward.
    void on_update(int hint) override {
        grids[kvd::TableKind::kLoad]->on_document_update(hint);
        for (auto& view : views) view->on_document_update(hint);
    }

    kvd::ScriptedUserInterface ui;
    kvd::CLbxDoc doc{ui};
    kvd::QtFontMetrics metrics;
    bool opened = false;
    std::map<kvd::TableKind, std::unique_ptr<kvd::CMyGrid>> tables;
    std::map<kvd::TableKind, std::unique_ptr<kvd::GridView>> grids;
    std::unique_ptr<kvd::CImage> curves[3];
    std::unique_ptr<kvd::CurveView> views[3];
};

Windows* windows = nullptr;

void repaint_table(benchmark::State& state, kvd::TableKind kind) {
    kvd::GridView& grid = *windows->grids[kind];
    for (auto _ : state) benchmark::DoNotOptimize(grid.grab());
}

void repaint_curve(benchmark::State& state, int index) {
    kvd::CurveView& view = *windows->views[index];
    for (auto _ : state) benchmark::DoNotOptimize(view.grab());
}

void render_curve(benchmark::State& state, int index) {
    kvd::CurveView& view = *windows->views[index];
    int step = 0;
    for (auto _ : state) {
        view.resize(kWindowSize + QSize(step++ % 2, 0));
        benchmark::DoNotOptimize(view.grab());
    }
    view.resize(kWindowSize);
    view.grab();
}

void send_move(kvd::CurveView& view, QPoint pixel, Qt::MouseButtons buttons) {
    QMouseEvent event(QEvent::MouseMove, QPointF(pixel),
                      QPointF(view.viewport()->mapToGlobal(pixel)), Qt::NoButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &event);
}

// A point the kind can capture: a middle grade (Q-s, s-lgQ) or a middle
// reading of it (s-lgt).
QPoint capturable_pixel(kvd::CurveView& view, int index) {
    const kvd::CImage& curve = view.curve();
    if (index == 1) {
        const auto& rows = static_cast<const kvd::Cs_lgt&>(curve).rows();
        const auto& row = rows[rows.size() / 2];
        return view.to_pixel(row.readings[row.readings.size() / 2].at);
    }
    if (index == 0) {
        const auto& points = static_cast<const kvd::CQ_s&>(curve).points();
        return view.to_pixel(points[points.size() / 2].at);
    }
    const auto& points = static_cast<const kvd::Cs_lgQ&>(curve).points();
    return view.to_pixel(points[points.size() / 2].at);
}

void drag_step(benchmark::State& state, int index) {
    kvd::CurveView& view = *windows->views[index];
    kvd::GridView& load = *windows->grids[kvd::TableKind::kLoad];
    view.grab();
    const QPoint at = capturable_pixel(view, index);
    send_move(view, at, Qt::NoButton);
    if (!view.curve().capture_armed()) {
        state.SkipWithError("no point to capture");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        // Down and back up by a few pixels, so the point stays on the plot.
        const int dy = (step++ % 2 == 0) ? 3 : 0;
        send_move(view, at + QPoint(0, dy), Qt::LeftButton);
        benchmark::DoNotOptimize(view.grab());
        benchmark::DoNotOptimize(load.grab());
    }
    send_move(view, at, Qt::NoButton);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    kvd::install_font_substitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    kvd::SampleOptions options;
    options.readings = kReadings;
    kvd::Bytes file;
    if (kvd::Status made = kvd::make_sample_file(options, file); !made.ok()) {
        std::fprintf(stderr, "%s\n", made.message().c_str());
        return 1;
    }
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("kvd_view_bench_" + std::to_string(::getpid()) + ".PTX");
    if (kvd::Status written = kvd::replace_file_atomically(path, file); !written.ok()) {
        std::fprintf(stderr, "%s\n", written.message().c_str());
        return 1;
    }
    int exit_code = 0;
    {
        Windows all(path.string());
        if (!all.opened) {
            std::fprintf(stderr, "the sample could not be opened\n");
            exit_code = 1;
        } else {
            windows = &all;
            const std::pair<const char*, kvd::TableKind> tables[] = {
                {"summary", kvd::TableKind::kSummary}, {"load", kvd::TableKind::kLoad},
                {"unload", kvd::TableKind::kUnload},   {"raw", kvd::TableKind::kRaw},
                {"changes", kvd::TableKind::kChanges}, {"anchor", kvd::TableKind::kAnchor}};
            for (const auto& [name, kind] : tables) {
                benchmark::RegisterBenchmark((std::string("repaint/") + name).c_str(),
                                             repaint_table, kind)
                    ->Unit(benchmark::kMillisecond);
            }
            const char* curve_names[] = {"qs", "slgt", "slgq"};
            for (int i = 0; i < 3; ++i) {
                benchmark::RegisterBenchmark((std::string("repaint/") + curve_names[i]).c_str(),
                                             repaint_curve, i)
                    ->Unit(benchmark::kMillisecond);
            }
            for (int i = 0; i < 3; ++i) {
                benchmark::RegisterBenchmark((std::string("render/") + curve_names[i]).c_str(),
                                             render_curve, i)
                    ->Unit(benchmark::kMillisecond);
            }
            for (int i = 0; i < 3; ++i) {
                benchmark::RegisterBenchmark((std::string("drag/") + curve_names[i]).c_str(),
                                             drag_step, i)
                    ->Unit(benchmark::kMillisecond);
            }
            benchmark::RunSpecifiedBenchmarks();
            windows = nullptr;
        }
    }
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return exit_code;
}
