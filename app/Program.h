// The program's course from the application object on: build the one window
// on the platform given, show it, run the event loop until it closes.
#pragma once

#include <memory>

namespace corvane {

class Application;
class Platform;

// Returns the program's exit status. An error raised while the window is
// being built is shown in a message box and gives status 1: without its
// window the program has nothing to run.
int runProgram(Application &app, std::shared_ptr<Platform> platform);

} // namespace corvane
