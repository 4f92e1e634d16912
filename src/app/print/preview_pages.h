#pragma once
// PreviewPages: the page area of the print preview. It shows one or two job
// pages side by side, fitted into the window or at a zoom factor, each drawn
// as paper with a shadow on the workspace grey. A page is rendered through
// the print job when it is shown, at the resolution it is shown at; only the
// pages in view are kept, so opening the preview and its memory do not
// depend on the number of pages in the job.

#include <QImage>
#include <QWidget>
#include <map>
#include <vector>

#include "output/print/print_job.h"

namespace kvd {

class PreviewPages : public QWidget {
    Q_OBJECT

public:
    // The zoom factors after "fit": screen size (1) and twice that.
    static constexpr double kZoomFactors[] = {1.0, 2.0};

    explicit PreviewPages(PrintPages& job, QWidget* parent = nullptr);

    int first_page() const { return first_; }
    int shown_count() const;  // 1 or 2 (1 when the job has one page, or zoomed)
    // The last page in view.
    int last_page() const { return first_ + shown_count() - 1; }
    bool two_pages() const { return two_pages_; }
    // 0: the pages fit the area they are given; else a zoom step.
    double zoom() const { return zoom_; }

    void set_first_page(int page);
    void set_two_pages(bool two);
    void set_zoom(double zoom);
    // The area the pages fit into when zoom is 0 (the scroll area's view).
    void set_fit_area(QSize area);

    // Every page rendered so far, in order (for the tests: what was drawn
    // and when).
    const std::vector<int>& render_log() const { return render_log_; }
    // The pages whose pictures are kept now.
    std::vector<int> kept_pages() const;

signals:
    void pages_changed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The highest first page: the last page, or the one before it when two
    // pages are shown.
    int last_first_page() const;
    // Widget pixels per 0.1 mm of paper.
    double scale() const;
    QRect page_rect(int slot) const;
    const QImage& picture(int page, QSize pixels);
    void relayout();

    PrintPages& job_;
    Size paper_;
    int first_ = 1;
    bool two_pages_ = false;
    double zoom_ = 0;
    QSize fit_area_{600, 800};
    struct Kept {
        QSize pixels;
        QImage image;
    };
    std::map<int, Kept> kept_;
    std::vector<int> render_log_;
};

}  // namespace kvd
