#pragma once
// Binds a dialog's controls, created from its template, to the dialog's member objects.

#include "framework/Wnd.h"

class DataExchange {
  public:
    explicit DataExchange(CWnd& dialog) : dialog_(dialog) {}

    // Binds the control with this id to member; a control already bound stays as it is.
    // Returns false when the dialog has no such control.
    bool Control(int id, CWnd& member) {
        if (member.m_hWnd != nullptr) {
            return true;
        }
        return member.SubclassDlgItem(static_cast<UINT>(id), dialog_);
    }

  private:
    CWnd& dialog_;
};
