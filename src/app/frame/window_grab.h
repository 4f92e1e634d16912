#pragma once
// `kvd --grab`: the main window with a file open and the chosen tabs in
// front, rendered into a PNG without showing anything on the screen. The
// program's messages go to standard error and its questions are answered
// "yes"; the user's settings are neither read nor written, so the same
// command always gives the same picture.

#include <string>

#include "app/frame/start_options.h"
#include "doc/scripted_user_interface.h"

class QWidget;

namespace kvd {

// The grabs' user interface: messages to standard error, every question
// answered "yes" (so that an unfinished test opens too).
class GrabUserInterface : public ScriptedUserInterface {
public:
    MessageAnswer message_box(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
};

// Saves the widget's picture as a PNG; 0, or 1 after a message on standard error.
int save_grab_picture(QWidget& widget, const std::string& output);

// Needs the application object (on the offscreen platform). Returns the exit
// code: 0, or 1 after a message on standard error.
int run_window_grab(const GrabOptions& grab, const std::string& file);

// The same for one of the program's dialogs (grab.dialog), shown as the
// program shows it: the about box, the open dialog previewing FILE (its
// folder listed, FILE chosen), the calibration tool with the table FILE
// opened (".qld" as a jack table). Called by run_window_grab.
int run_dialog_grab(const GrabOptions& grab, const std::string& file);

}  // namespace kvd
