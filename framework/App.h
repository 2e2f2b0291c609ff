#pragma once
// The application object: one per process, run from the program's entry point.

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
  public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's one application object, or null before it is constructed.
    static CWinApp* Current();

    // Entry point: initialises the instance, then releases it. A program whose main
    // window is a modal dialog runs that dialog inside InitInstance and returns FALSE, so
    // that no message loop follows.
    int Run(HINSTANCE instance);

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

  protected:
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Names the registry key under which the framework would keep settings.
    void SetRegistryKey(const std::wstring& company) { registryKey_ = company; }
    const std::wstring& RegistryKey() const { return registryKey_; }

  private:
    std::wstring registryKey_;
};
