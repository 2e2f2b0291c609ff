#include "framework/Prompts.h"

#include <commdlg.h>
#include <shobjidl.h>

namespace {

// The dialog wants an extension without its dot; a pattern such as "*.csv" is accepted too.
const wchar_t* BareExtension(const std::wstring& extension) {
    const std::size_t dot = extension.find_last_of(L'.');
    return extension.c_str() + (dot == std::wstring::npos ? 0 : dot + 1);
}

// COM for the calling thread, for as long as the save dialog is up.
class ComApartment {
  public:
    ComApartment()
        : initialised_(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (initialised_) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_;
};

// Releases the interface it holds.
template <typename Interface>
class ComPointer {
  public:
    ComPointer() = default;
    ~ComPointer() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;

    Interface** Receive() { return &pointer_; }
    Interface* operator->() const { return pointer_; }

  private:
    Interface* pointer_ = nullptr;
};

class SystemPrompts final : public UserPrompts {
  public:
    int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption,
                    UINT type) override {
        return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
    }

    bool AskSaveFile(HWND owner, const SaveFileOptions& options, std::wstring& path) override {
        ComApartment apartment;
        ComPointer<IFileSaveDialog> dialog;
        if (FAILED(::CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(dialog.Receive())))) {
            return false;
        }
        const COMDLG_FILTERSPEC filter = {options.filterDescription.c_str(),
                                          options.filterPattern.c_str()};
        FILEOPENDIALOGOPTIONS chosen = 0;
        dialog->GetOptions(&chosen);
        chosen |= FOS_FORCEFILESYSTEM;
        if ((options.flags & OFN_OVERWRITEPROMPT) != 0) {
            chosen |= FOS_OVERWRITEPROMPT;
        }
        if (FAILED(dialog->SetFileTypes(1, &filter)) || FAILED(dialog->SetOptions(chosen)) ||
            FAILED(dialog->SetFileName(options.fileName.c_str())) ||
            (!options.defaultExtension.empty() &&
             FAILED(dialog->SetDefaultExtension(BareExtension(options.defaultExtension))))) {
            return false;
        }
        if (FAILED(dialog->Show(owner))) {
            return false;  // cancelled, or the dialog could not be shown
        }
        ComPointer<IShellItem> item;
        wchar_t* chosenPath = nullptr;
        if (FAILED(dialog->GetResult(item.Receive())) ||
            FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &chosenPath))) {
            return false;
        }
        const std::wstring result = chosenPath;
        ::CoTaskMemFree(chosenPath);
        // A path that does not fit the caller's room is refused rather than cut short.
        if (result.size() >= options.pathCapacity) {
            return false;
        }
        path = result;
        return true;
    }
};

SystemPrompts g_systemPrompts;
UserPrompts* g_installed = &g_systemPrompts;

}  // namespace

UserPrompts& Prompts() {
    return *g_installed;
}

void InstallPrompts(UserPrompts* prompts) {
    g_installed = prompts != nullptr ? prompts : &g_systemPrompts;
}
