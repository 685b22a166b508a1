// zorvo-link: the window program. It takes no command line: the online check
// opens the public site and the resolver uses the service's own site.
#include <windows.h>

#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { RunProgram(WindowSettings{}); }
