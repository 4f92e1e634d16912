#pragma once
// ConsoleUserInterface: the document's user interface for kvdtool. Messages
// go to standard error; questions are not asked: they get the answers the
// command was given (by default "yes", so that the open checks let a file
// through) and print nothing, as a command-line tool reports and does not ask.

#include <cstdio>

#include "doc/scripted_user_interface.h"

namespace kvd {

class ConsoleUserInterface : public ScriptedUserInterface {
public:
    MessageAnswer message_box(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override {
        if (buttons == MessageButtons::kOk) std::fprintf(stderr, "%s\n", text.c_str());
        return ScriptedUserInterface::message_box(text, caption, buttons, icon);
    }
};

}  // namespace kvd
