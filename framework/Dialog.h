#pragma once
// Dialogs built from dialog templates in the module's resources, run modally or created
// as modeless windows (child pages inside another dialog).

#include "framework/DataExchange.h"
#include "framework/Wnd.h"

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId) : templateId_(templateId) {}

    // Runs the dialog modally and returns the value given to EndDialog.
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog modeless; with a parent and a WS_CHILD template it is a child page.
    bool Create(HWND parent);
    // Ends a modal dialog with this result; destroys a modeless one.
    void EndDialog(INT_PTR result);

    UINT TemplateId() const { return templateId_; }

  protected:
    // Called before the dialog is first shown; binds the controls through DoDataExchange.
    // Returns TRUE to let the system set the focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(DataExchange& dx);
    // The default OK and Cancel handling: Enter (while no push button has the focus) and
    // Esc or the close box end the dialog with IDOK and IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    bool modal_ = false;
    // Set while Default() asks the dialog manager for its own handling of a message, so
    // that the dialog procedure declines it instead of dispatching it again.
    bool defaultRequested_ = false;
    UINT defaultMessage_ = 0;
};

// The extended dialog of the class framework: nothing beyond CDialog is used here.
class CDialogEx : public CDialog {
  public:
    using CDialog::CDialog;
};
