#include "app/params/param_pages.h"

#include "app/params/param_alarm_page.h"
#include "app/params/param_control_page.h"
#include "app/params/param_displacement_page.h"
#include "app/params/param_project_page.h"
#include "app/params/param_standard_page.h"

namespace kvd {

std::vector<std::pair<QString, QWidget*>> make_parameter_pages(CLbxDoc& doc, QWidget* parent) {
    return {
        {QStringLiteral("工程参数"), new CParaView(doc, parent)},
        {QStringLiteral("位移参数"), new CWeiYiView(doc, parent)},
        {QStringLiteral("试验标准"), new CShiYanView(doc, parent)},
        {QStringLiteral("控制参数"), new CHeZaiView(doc, parent)},
        {QStringLiteral("报警参数"), new CJiXianView(doc, parent)},
    };
}

}  // namespace kvd
