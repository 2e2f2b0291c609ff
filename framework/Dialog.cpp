#include "framework/Dialog.h"

#include "framework/CallbackWall.h"

namespace {
HINSTANCE ResourceModule() {
    return ::GetModuleHandleW(nullptr);
}

// Messages whose dialog-procedure result is the message's result itself rather than a
// handled flag with the result in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_INITDIALOG:
            return true;
        default:
            return false;
    }
}
}  // namespace

INT_PTR CDialog::DoModal(HWND owner) {
    modal_ = true;
    return ::DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(templateId_), owner,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND parent) {
    modal_ = false;
    HWND hwnd = ::CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(templateId_), parent,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (m_hWnd == nullptr) {
        return;
    }
    if (modal_) {
        ::EndDialog(m_hWnd, result);
    } else {
        DestroyWindow();
    }
}

BOOL CDialog::OnInitDialog() {
    DataExchange dx(*this);
    DoDataExchange(dx);
    return TRUE;
}

void CDialog::DoDataExchange(DataExchange&) {}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_INITDIALOG) {
        result = OnInitDialog();
        return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            result = 0;
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            result = 0;
            return true;
        }
    }
    return false;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    defaultRequested_ = true;
    defaultMessage_ = message;
    LRESULT result = ::DefDlgProcW(m_hWnd, message, wParam, lParam);
    defaultRequested_ = false;
    return result;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Bind(hwnd);
    } else {
        dialog = static_cast<CDialog*>(FromHandle(hwnd));
    }
    if (dialog == nullptr) {
        return FALSE;
    }
    if (dialog->defaultRequested_ && dialog->defaultMessage_ == message) {
        dialog->defaultRequested_ = false;
        return FALSE;  // the dialog manager's own handling was asked for
    }

    // A handler that throws leaves the message to the dialog manager's own handling.
    LRESULT result = 0;
    const bool handled = CallBehindWall(
        message, [&] { return dialog->DispatchMessageToObject(message, wParam, lParam, result); },
        [] { return false; });
    if (message == WM_NCDESTROY) {
        dialog->Unbind();
    }
    if (!handled) {
        return FALSE;
    }
    if (ReturnsResultDirectly(message)) {
        return static_cast<INT_PTR>(result);
    }
    // Setting the result costs a round trip to the window server under Wine; most results
    // are the one already there.
    if (::GetWindowLongPtrW(hwnd, DWLP_MSGRESULT) != result) {
        ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    }
    return TRUE;
}
