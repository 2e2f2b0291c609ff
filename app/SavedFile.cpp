#include "app/SavedFile.h"

#include "app/ProgramName.h"

#include <cwchar>

namespace {

constexpr wchar_t kDialogFailedText[] = L"打开导出对话框失败";
constexpr wchar_t kOpenFailedFormat[] = L"file open failed,error code:%lu";
constexpr wchar_t kWriteFailedFormat[] = L"保存文件失败,error code:%lu";
constexpr wchar_t kSavedText[] = L" 保存文件成功！！！ ";

std::wstring Formatted(const wchar_t* format, DWORD error) {
    wchar_t text[128];
    std::swprintf(text, 128, format, static_cast<unsigned long>(error));
    return text;
}

}  // namespace

SaveResult SaveReplacing(const std::wstring& path,
                         const std::function<bool(ReplacementFile&)>& write, FileWriteCall call) {
    using Outcome = SaveResult::Outcome;
    // A target held open by another program, or one that may not be written, is reported
    // before anything is written.
    ReplacementFile file(path, call);
    if (const DWORD error = file.Open()) {
        return {Outcome::OpenFailed, error};
    }
    if (!write(file) || file.Commit() != ERROR_SUCCESS) {
        return {Outcome::WriteFailed, file.Error()};
    }
    return {Outcome::Saved, ERROR_SUCCESS};
}

void SaveWithPrompts(HWND owner, HWND dialogOwner, const SaveFileOptions& options,
                     const std::function<bool(const std::wstring& path)>& accept,
                     const std::function<bool(ReplacementFile&)>& write, FileWriteCall call) {
    std::wstring path;
    if (!Prompts().AskSaveFile(dialogOwner, options, path)) {
        Prompts().ShowMessage(owner, kDialogFailedText, kProgramName, MB_OK);
        return;
    }
    if (!accept(path)) {
        return;
    }
    const SaveResult result = SaveReplacing(path, write, call);
    switch (result.outcome) {
        case SaveResult::Outcome::Saved:
            Prompts().ShowMessage(owner, kSavedText, kProgramName, MB_OK);
            break;
        case SaveResult::Outcome::OpenFailed:
            Prompts().ShowMessage(owner, Formatted(kOpenFailedFormat, result.error), kProgramName,
                                  MB_OK);
            break;
        case SaveResult::Outcome::WriteFailed:
            Prompts().ShowMessage(owner, Formatted(kWriteFailedFormat, result.error), kProgramName,
                                  MB_OK | MB_ICONERROR);
            break;
    }
}
