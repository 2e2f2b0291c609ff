#pragma once
// A per-class table that routes window messages to member functions: one handler per
// message, per command id (with its notification code) and per notification (control id
// and code). A class builds its table once, as a function-local static, inside its
// override of CWnd::OnWndMsg.

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <vector>

template <class Owner>
class MessageMap {
  public:
    using MessageHandler = LRESULT (Owner::*)(WPARAM, LPARAM);
    using CommandHandler = void (Owner::*)();
    using IdCommandHandler = void (Owner::*)(UINT id);
    using NotifyHandler = LRESULT (Owner::*)(NMHDR*);

    // Any message by number; the handler's result is the message's result.
    MessageMap& Message(UINT message, MessageHandler handler) {
        entries_.push_back({Kind::Message, message, 0, {handler, nullptr, nullptr, nullptr}});
        return *this;
    }
    // WM_COMMAND from a control, menu or accelerator with the given id and notification
    // code; BN_CLICKED (0) also matches accelerators (code 1).
    MessageMap& Command(UINT id, CommandHandler handler, UINT code = BN_CLICKED) {
        entries_.push_back({Kind::Command, id, code, {nullptr, handler, nullptr, nullptr}});
        return *this;
    }
    // The same handler for several ids; it receives the id that sent the command.
    MessageMap& Commands(std::initializer_list<UINT> ids, IdCommandHandler handler,
                         UINT code = BN_CLICKED) {
        for (UINT id : ids) {
            entries_.push_back({Kind::IdCommand, id, code, {nullptr, nullptr, handler, nullptr}});
        }
        return *this;
    }
    // WM_NOTIFY from the control with the given id and notification code.
    MessageMap& Notify(UINT id, UINT code, NotifyHandler handler) {
        entries_.push_back({Kind::Notify, id, code, {nullptr, nullptr, nullptr, handler}});
        return *this;
    }

    // Calls the matching handler; false when the table has none for this message.
    bool Dispatch(Owner& owner, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
        for (const Entry& e : entries_) {
            switch (e.kind) {
                case Kind::Message:
                    if (e.key == message) {
                        result = (owner.*e.handlers.message)(wParam, lParam);
                        return true;
                    }
                    break;
                case Kind::Command:
                case Kind::IdCommand:
                    if (message == WM_COMMAND && LOWORD(wParam) == e.key &&
                        CodeMatches(e.code, HIWORD(wParam))) {
                        if (e.kind == Kind::Command) {
                            (owner.*e.handlers.command)();
                        } else {
                            (owner.*e.handlers.idCommand)(e.key);
                        }
                        result = 0;
                        return true;
                    }
                    break;
                case Kind::Notify:
                    if (message == WM_NOTIFY && lParam != 0) {
                        auto* header = reinterpret_cast<NMHDR*>(lParam);
                        if (header->idFrom == e.key && header->code == e.code) {
                            result = (owner.*e.handlers.notify)(header);
                            return true;
                        }
                    }
                    break;
            }
        }
        return false;
    }

  private:
    enum class Kind { Message, Command, IdCommand, Notify };
    struct Handlers {
        MessageHandler message;
        CommandHandler command;
        IdCommandHandler idCommand;
        NotifyHandler notify;
    };
    struct Entry {
        Kind kind;
        UINT key;   // message number or control id
        UINT code;  // notification code for commands and notifications
        Handlers handlers;
    };

    static bool CodeMatches(UINT wanted, UINT actual) {
        return wanted == actual || (wanted == BN_CLICKED && actual == 1);
    }

    std::vector<Entry> entries_;
};
