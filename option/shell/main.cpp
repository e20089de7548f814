// Option.exe: the skinned configuration window of the suite.
#include <windows.h>

#include "option_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    COptionApp app;
    return app.Run();
}
