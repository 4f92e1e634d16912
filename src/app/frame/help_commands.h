#pragma once
// The help menu's pieces that are not the frame's own: the about box and
// where the user manual is — HTML pages under <prefix>/share/kvd/manual, the
// prefix being the folder above the program's own (so the same path holds in
// the build tree, where the manual is made, and in an installation).

#include <QString>
#include <QUrl>
#include <memory>

class QDialog;
class QIcon;
class QWidget;

namespace kvd {

// The manual's folder, whether or not it exists.
QString manual_folder();
// A file URL of a page of the manual ("index.html"); empty when it is missing.
QUrl manual_page_url(const QString& page);

// The about box ("关于 KVD"): the program's icon, name and version line.
std::unique_ptr<QDialog> make_about_dialog(QWidget* parent, const QIcon& icon);

inline constexpr char kManualIndexPage[] = "index.html";
inline constexpr char kManualSupportPage[] = "support.html";

}  // namespace kvd
