#pragma once
// The toolbar pictures and the program's window icon, drawn in code so that
// the program needs no image files and looks the same on every desktop.

#include <QIcon>

namespace kvd {

// The picture of a toolbar command (frame_commands.h ids); an empty icon for
// a command that has none.
QIcon toolbar_icon(int command);

// The program's window icon: a settlement curve over a pile.
QIcon application_icon();

}  // namespace kvd
