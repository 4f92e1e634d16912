#pragma once
// The five parameter pages of the lower right pane, in tab order:
// "工程参数" (CParaView), "位移参数" (CWeiYiView), "试验标准" (CShiYanView),
// "控制参数" (CHeZaiView) and "报警参数" (CJiXianView). Each page is a view of
// the document from its construction to its destruction; the document must
// outlive them.

#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

namespace kvd {

class CLbxDoc;

// The pages with their tab titles, created as children of `parent` and
// loaded from the document's record.
std::vector<std::pair<QString, QWidget*>> make_parameter_pages(CLbxDoc& doc, QWidget* parent);

}  // namespace kvd
