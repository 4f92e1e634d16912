#pragma once
// ConsoleUserInterface: the document's user interface for kvdtool. Every
// message goes to standard error; questions get the answers the command was
// given (by default "yes", so that the open checks let a file through).

#include <cstdio>

#include "doc/scripted_user_interface.h"

namespace kvd {

class ConsoleUserInterface : public ScriptedUserInterface {
public:
    MessageAnswer message_box(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return ScriptedUserInterface::message_box(text, caption, buttons, icon);
    }
};

}  // namespace kvd
