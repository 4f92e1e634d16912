#pragma once
// CFontCombo: the font list of the curve style pages. It offers the faces the
// program knows by name (drawn through their installed stand-ins) and then
// every installed family. A face stored in the settings that the list does
// not have is added at the top, so that opening the page shows what the
// curves use and changes nothing.

#include <QComboBox>
#include <string>

namespace kvd {

class CFontCombo : public QComboBox {
    Q_OBJECT

public:
    explicit CFontCombo(QWidget* parent = nullptr);

    // Selects the face (UTF-8), adding it when missing.
    void show_face(const std::string& face);
    std::string face() const;

signals:
    // The user chose an entry: its face name (UTF-8).
    void face_chosen(const std::string& face);
};

}  // namespace kvd
