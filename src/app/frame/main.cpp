// kvd, the desktop program.

#include <cstdlib>

#include "app/frame/lbx_app.h"
#include "app/frame/start_options.h"

int main(int argc, char** argv) {
    // A window grab renders offscreen, whether or not there is a display.
    if (kvd::wants_grab(argc, argv)) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    kvd::CLbxApp app(argc, argv);
    return app.run();
}
