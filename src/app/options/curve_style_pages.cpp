#include "app/options/curve_style_pages.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/options/style_combos.h"

namespace kvd {

CCurveSetup::CCurveSetup(OptionSession& options, QWidget* parent)
    : OptionPageWidget(options, parent) {
    CurveLineStyle& l = options.style().lines;
    QGridLayout* load = add_group(QStringLiteral("加载曲线"));
    add_colour_row(load, 0, 0, 1094, &l.load_colour);
    add_pen_style_row(load, 0, 1, 1080, &l.load_pen_style);
    add_sized_row(load, 1, 0, 1089, QStringLiteral("粗细"), &l.load_width, kLineWidthRange);

    QGridLayout* unload = add_group(QStringLiteral("卸载曲线"));
    add_colour_row(unload, 0, 0, 1095, &l.unload_colour);
    add_pen_style_row(unload, 0, 1, 1083, &l.unload_pen_style);
    add_sized_row(unload, 1, 0, 1090, QStringLiteral("粗细"), &l.unload_width, kLineWidthRange);

    QGridLayout* points = add_group(QStringLiteral("采样点"));
    add_colour_row(points, 0, 0, 1096, &l.point_colour);
    add_sized_row(points, 0, 1, 1087, QStringLiteral("直径"), &l.point_diameter,
                  kPointDiameterRange);
    filled_ = new QButtonGroup(this);
    auto* radios = new QHBoxLayout;
    radios->addWidget(add_radio(filled_, points->parentWidget(), 1056, "实心", 1));
    radios->addWidget(add_radio(filled_, points->parentWidget(), 1057, "空心", 0));
    radios->addStretch();
    points->addLayout(radios, 1, 1, 1, 3);
    connect(filled_, &QButtonGroup::idClicked, this, [this, lines = &l](int value) {
        lines->point_filled = value;
        emit changed();
    });
    column()->addStretch();
}

void CCurveSetup::load() {
    OptionPageWidget::load();
    check_value(filled_, session().style().lines.point_filled ? 1 : 0);
}

CCoordPage::CCoordPage(OptionSession& options, QWidget* parent)
    : OptionPageWidget(options, parent) {
    CurveFrameStyle& f = options.style().frame;
    QGridLayout* title = add_group(QStringLiteral("标题"));
    add_colour_row(title, 0, 0, 1098, &f.title_colour);
    add_font_row(title, 0, 1, 1084, &f.title_font);
    add_sized_row(title, 1, 0, 1099, QStringLiteral("高度"), &f.title_font_size, kTitleHeightRange);

    QGridLayout* ticks = add_group(QStringLiteral("坐标刻度值"));
    add_colour_row(ticks, 0, 0, 1100, &f.tick_colour);
    add_font_row(ticks, 0, 1, 1101, &f.tick_font);
    add_sized_row(ticks, 1, 0, 1102, QStringLiteral("高度"), &f.tick_font_size, kTickHeightRange);

    QGridLayout* axes = add_group(QStringLiteral("坐标线"));
    add_colour_row(axes, 0, 0, 1103, &f.axis_colour);
    add_sized_row(axes, 0, 1, 1104, QStringLiteral("粗细"), &f.axis_width, kLineWidthRange);
    column()->addStretch();
}

CMarkPage::CMarkPage(OptionSession& options, QWidget* parent) : OptionPageWidget(options, parent) {
    CurveLineStyle& l = options.style().lines;
    QGridLayout* text = add_group(QStringLiteral("标记字符"));
    add_colour_row(text, 0, 0, 1100, &l.mark_text_colour);
    add_font_row(text, 0, 1, 1101, &l.mark_font);
    add_sized_row(text, 1, 0, 1102, QStringLiteral("高度"), &l.mark_font_size, kMarkHeightRange);
    auto* symbols = new CMarkFontCombo(text->parentWidget());
    symbols->setObjectName(control_name(1103));
    auto* label = new QLabel(QStringLiteral("标记符号"), text->parentWidget());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    text->addWidget(label, 1, 2);
    text->addWidget(symbols, 1, 3, Qt::AlignLeft);
    connect(symbols, &CMarkFontCombo::value_chosen, this, [this, lines = &l](int symbol) {
        lines->mark_symbol = symbol;
        emit changed();
    });
    on_load([symbols, lines = &l] { symbols->show_value(lines->mark_symbol); });

    QGridLayout* line = add_group(QStringLiteral("标记线"));
    add_colour_row(line, 0, 0, 1105, &l.mark_line_colour);
    add_pen_style_row(line, 0, 1, 1106, &l.mark_pen_style);
    add_sized_row(line, 1, 0, 1107, QStringLiteral("粗细"), &l.mark_width, kLineWidthRange);

    QGridLayout* background = add_group(QStringLiteral("背景颜色"));
    add_colour_row(background, 0, 0, 1108, &options.style().frame.background, QString());
    column()->addStretch();
}

}  // namespace kvd
