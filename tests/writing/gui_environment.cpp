// This test program draws, so it makes the application it needs.
#include "tests/support/gui_environment.h"
