#pragma once
// A table of the open document in its own window, as the table sheet shows
// it: a GridView over a table made by make_table, refreshed by the document
// like every view. The helpers drive it as a user does: cells are pressed at
// the middle of their drawn rectangle, keys go to the widget that has the
// focus (the grid, or the edit box over a cell), the popup menu is answered
// by clicking its items.
//
// What the window shows is read back from its painting: TextRecorder is a
// paint device that keeps every run of text drawn on it with its place and
// font, so tests assert on the texts a user sees, not only on the model.
//
// No test may hang on a dialog or popup that never gets closed: the
// ModalWatchdog closes whatever stays open for several seconds and counts it,
// and the fixtures fail a test that needed it.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QMenu>
#include <QPaintEngine>
#include <QPaintEngineState>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QTransform>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/tables/grid_painter.h"
#include "app/tables/grid_view.h"
#include "app/modal_driver.h"
#include "doc/lbx_doc.h"
#include "tables/table_factory.h"

namespace kvd::testing {

// Closes a popup menu or a modal dialog that has been the active one for
// longer than `patience_ms`, and counts how often it had to.
class ModalWatchdog {
public:
    explicit ModalWatchdog(int patience_ms = 5000) : patience_ms_(patience_ms) {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }
    int closed() const { return closed_; }

private:
    void tick() {
        QWidget* open = QApplication::activePopupWidget();
        if (!open) open = QApplication::activeModalWidget();
        if (open != seen_.data() || !open) {
            seen_ = open;
            since_.restart();
            return;
        }
        if (since_.elapsed() < patience_ms_) return;
        ++closed_;
        since_.restart();
        if (auto* dialog = qobject_cast<QDialog*>(open)) {
            dialog->reject();
        } else {
            open->close();
        }
    }

    QTimer timer_;
    QPointer<QWidget> seen_;
    QElapsedTimer since_;
    int patience_ms_;
    int closed_ = 0;
};

// Runs `act` once on the next popup menu that opens (its exec() blocks the
// caller); `act` must close it, by choosing an item or otherwise. Gives up
// after about ten seconds (the watchdog closes a popup left open).
inline void when_popup(std::function<void(QMenu*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act, tries] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            timer->stop();
            timer->deleteLater();
            act(menu);
        } else if (++*tries > 2000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// The item of a menu that carries command `id`, or null.
inline QAction* menu_item(QMenu& menu, int id) {
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator() && action->data().toInt() == id) return action;
    }
    return nullptr;
}

// Chooses an item with the mouse; an item that cannot be chosen closes the
// menu with Escape instead.
inline void click_item(QMenu* menu, int id) {
    QAction* action = menu_item(*menu, id);
    if (action && action->isEnabled()) {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    } else {
        QTest::keyClick(menu, Qt::Key_Escape);
    }
}

// A paint device that keeps the runs of text and the lines painted on it.
class TextRecorder : public QPaintDevice {
public:
    struct Run {
        QString text;
        QPointF baseline;  // device pixels, start of the run
        QFont font;
        double width = 0;  // advance, pixels
        QRectF box() const {
            const QFontMetricsF metrics(font);
            return {baseline.x(), baseline.y() - metrics.ascent(), width, metrics.height()};
        }
    };

    explicit TextRecorder(QSize size) : size_(size), engine_(this) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    const std::vector<Run>& runs() const { return runs_; }
    const std::vector<QLineF>& lines() const { return lines_; }

    // The runs that start inside a rectangle, in painting order.
    std::vector<Run> runs_in(const QRect& rect) const {
        std::vector<Run> inside;
        for (const Run& run : runs_) {
            if (rect.contains(run.box().center().toPoint())) inside.push_back(run);
        }
        return inside;
    }
    // Their texts, joined by blanks.
    QString text_in(const QRect& rect) const {
        QStringList texts;
        for (const Run& run : runs_in(rect)) texts << run.text.trimmed();
        return texts.join(QLatin1Char(' '));
    }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return size_.width();
            case PdmHeight:
                return size_.height();
            case PdmWidthMM:
                return size_.width() * 254 / 960;
            case PdmHeightMM:
                return size_.height() * 254 / 960;
            case PdmNumColors:
                return 1 << 24;
            case PdmDepth:
                return 32;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
            default:
                return 0;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(TextRecorder* device) : QPaintEngine(AllFeatures), device_(device) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& changed) override {
            if (changed.state() & DirtyTransform) transform_ = changed.transform();
        }
        // Only the texts are kept.
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        // ... and the lines, to see that no text runs over one.
        void drawLines(const QLineF* lines, int count) override {
            for (int i = 0; i < count; ++i) device_->lines_.push_back(transform_.map(lines[i]));
        }
        void drawLines(const QLine* lines, int count) override {
            for (int i = 0; i < count; ++i) {
                device_->lines_.push_back(transform_.map(QLineF(lines[i])));
            }
        }
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            const QString text = item.text();
            const QPointF at = transform_.map(p);
            const double width = QFontMetricsF(item.font()).horizontalAdvance(text);
            // A line drawn in several fonts (Latin and Chinese faces) comes
            // in several pieces: they join up again into one run.
            auto& runs = device_->runs_;
            if (!runs.empty() && std::abs(runs.back().baseline.y() - at.y()) < 0.5 &&
                std::abs(runs.back().baseline.x() + runs.back().width - at.x()) < 1.5) {
                runs.back().text += text;
                runs.back().width += width;
                return;
            }
            if (text.trimmed().isEmpty()) return;
            runs.push_back({text, at, item.font(), width});
        }
        Type type() const override { return User; }

    private:
        TextRecorder* device_;
        QTransform transform_;
    };

    QSize size_;
    mutable Engine engine_;
    std::vector<Run> runs_;
    std::vector<QLineF> lines_;
};

// One table in its window.
class GridWindow : public DocView {
public:
    GridWindow(CLbxDoc& doc, const FontMetrics& metrics, TableKind kind, QSize size = {760, 420})
        : doc_(doc), table_(make_table(kind, doc, metrics)), view_(*table_) {
        doc_.add_view(this);
        view_.resize(size);
        view_.show();
        view_.activateWindow();
        view_.setFocus(Qt::OtherFocusReason);
        (void)QTest::qWaitForWindowExposed(&view_);
        paint();
    }
    ~GridWindow() override { doc_.remove_view(this); }

    void on_update(int hint) override {
        hints.push_back(hint);
        view_.on_document_update(hint);
    }

    CMyGrid& table() { return *table_; }
    GridView& view() { return view_; }
    QWidget* viewport() { return view_.viewport(); }

    // A paint of the window (the grid refills first), and what it shows.
    std::unique_ptr<TextRecorder> paint() {
        auto recorder = std::make_unique<TextRecorder>(viewport()->size());
        viewport()->render(recorder.get());
        QCoreApplication::processEvents();
        return recorder;
    }

    QRect rect_of(CellId cell) const { return drawn_cell_rect(*table_, cell.row, cell.column); }
    QPoint centre_of(CellId cell) const { return rect_of(cell).center(); }

    void press(CellId cell, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(viewport(), button, {}, centre_of(cell));
        QTest::mouseRelease(viewport(), button, {}, centre_of(cell));
    }
    // Press, release, double-click, release, as the system sends them.
    void double_click(CellId cell) {
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, centre_of(cell));
    }
    // The widget keys go to: the one of this window that has the focus (the
    // grid, or the box over a cell), whether or not the window is active.
    QWidget* keyboard() {
        QWidget* focus = view_.focusWidget();
        return focus ? focus : &view_;
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(keyboard(), static_cast<Qt::Key>(key), modifiers);
    }
    // Types text one character at a time to whatever has the focus then.
    void type(const QString& text) {
        for (QChar c : text) QTest::keyClick(keyboard(), c.toLatin1());
    }
    // Right-clicks a cell and answers its popup with `act`.
    void popup(CellId cell, std::function<void(QMenu*)> act) {
        when_popup(std::move(act));
        press(cell, Qt::RightButton);
    }

    CellId current() const { return table_->current_cell(); }

    std::vector<int> hints;

private:
    CLbxDoc& doc_;
    std::unique_ptr<CMyGrid> table_;
    GridView view_;
};

// Enabled state of every item of a menu, by command.
inline std::map<int, bool> enabled_items(QMenu& menu) {
    std::map<int, bool> enabled;
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator()) enabled[action->data().toInt()] = action->isEnabled();
    }
    return enabled;
}

inline std::string demo_path(const char* name = "demo.PTX") {
    return std::string(KVD_SOURCE_DIR) + "/samples/" + name;
}

}  // namespace kvd::testing
