#include "app/PalvexApp.h"

#include <windows.h>

namespace {
CPalvexApp g_application;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return g_application.Run(instance);
}
