#pragma once
// Where the user manual is: HTML pages under <prefix>/share/kvd/manual, the
// prefix being the folder above the program's own (so the same path holds in
// the build tree, where the manual is made, and in an installation).

#include <QString>
#include <QUrl>

namespace kvd {

// The manual's folder, whether or not it exists.
QString manual_folder();
// A file URL of a page of the manual ("index.html"); empty when it is missing.
QUrl manual_page_url(const QString& page);

inline constexpr char kManualIndexPage[] = "index.html";
inline constexpr char kManualSupportPage[] = "support.html";

}  // namespace kvd
