#pragma once
// The program object: initialises the window framework and runs the main dialog.

#include "framework/App.h"

class CPalvexApp : public CWinApp {
  protected:
    BOOL InitInstance() override;
};
