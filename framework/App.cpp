#include "framework/App.h"

namespace {
CWinApp* g_application = nullptr;
}

CWinApp::CWinApp() {
    g_application = this;
}

CWinApp::~CWinApp() {
    if (g_application == this) {
        g_application = nullptr;
    }
}

CWinApp* CWinApp::Current() {
    return g_application;
}

int CWinApp::Run(HINSTANCE instance) {
    m_hInstance = instance;
    if (InitInstance()) {
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

BOOL CWinApp::InitInstance() {
    return FALSE;
}

int CWinApp::ExitInstance() {
    return 0;
}
