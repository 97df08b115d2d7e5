// Corvane: starts the one window on this desktop and runs its message loop.
// One optional argument names a text file to read ("Open With" in a file manager).
#include "app/Application.h"
#include "app/Platform.h"
#include "app/Program.h"

int main(int argc, char **argv)
{
    corvane::Application app(argc, argv);
    return corvane::runProgram(app, corvane::desktopPlatform());
}
