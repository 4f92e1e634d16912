#include "app/options/font_combo.h"

#include <QFontDatabase>

#include "qt/font_setup.h"

namespace kvd {

CFontCombo::CFontCombo(QWidget* parent) : QComboBox(parent) {
    setMaxVisibleItems(16);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(16);
    QStringList faces = program_font_faces();
    for (const QString& family : QFontDatabase::families()) {
        // Families Qt keeps for itself start with a dot.
        if (!family.startsWith(QLatin1Char('.')) && !QFontDatabase::isPrivateFamily(family)) {
            faces << family;
        }
    }
    faces.removeDuplicates();
    addItems(faces);
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit face_chosen(itemText(index).toStdString()); });
}

void CFontCombo::show_face(const std::string& face) {
    const QString text = QString::fromStdString(face);
    int index = findText(text, Qt::MatchFixedString);
    if (index < 0) {
        insertItem(0, text);
        index = 0;
    }
    setCurrentIndex(index);
}

std::string CFontCombo::face() const {
    return currentText().toStdString();
}

}  // namespace kvd
