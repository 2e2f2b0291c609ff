#pragma once
// The texts of the main window that its code sets: the status, the device model and the
// messages of the device panel and of the review of a recording.

#include "device/connection/DeviceLink.h"
#include "device/connection/LibraryNotLoadedText.h"

inline constexpr wchar_t kConnectedText[] = L"已连接";
inline constexpr wchar_t kDisconnectedText[] = L"未连接";
inline constexpr wchar_t kDeviceModel[] = L"RQV5D1470";

inline constexpr wchar_t kNotConnectedText[] = L"设备未连接！";
inline constexpr wchar_t kLayoutFailedText[] = L"通道初始化失败，请检查MCU是否正常工作！";
inline constexpr wchar_t kHandshakeFailedText[] =
    L"与下位机握手失败!!!\n请检查仿真器与芯片的连接是否正确!!!";
inline constexpr wchar_t kHandshakeFailedCaption[] = L"警告";
inline constexpr wchar_t kOutOfMemoryText[] = L"内存不足，接收已停止。";
inline constexpr wchar_t kCloseDeviceFirstText[] = L"请先关闭设备，再打开记录文件。";
inline constexpr wchar_t kNotARecordingText[] = L"无法读取记录文件：\n";
inline constexpr wchar_t kRecordingLabel[] = L"记录：";
inline constexpr wchar_t kReadingLabel[] = L"正在读取 ";
// What the report names as its source when the frames were received, not read from a file.
inline constexpr wchar_t kLiveRecordingName[] = L"Palvex 接收的数据";

// The boxes of a failed open, each message followed on a line of its own by what is known of
// the reason: the library's box, without owner and before the other (empty when there is none) and
// "设备未连接！", which also takes a library's reason that has no box of its own (a factory export
// missing).
struct FailedOpenTexts {
    std::wstring library;
    std::wstring notConnected;
};
inline FailedOpenTexts FailedOpenText(ConnectResult result, const ConnectFailureText& why) {
    const auto followedBy = [](std::wstring message, const std::wstring& reason) {
        if (!reason.empty()) {
            message += (message.ends_with(L'\n') ? L"" : L"\n") + reason;
        }
        return message;
    };
    FailedOpenTexts texts;
    const std::wstring library = LibraryNotLoadedBoxText(result);
    texts.library = library.empty() ? std::wstring() : followedBy(library, why.library);
    texts.notConnected = followedBy(kNotConnectedText, library.empty() ? why.library : L"");
    texts.notConnected = followedBy(texts.notConnected, why.adapter);
    return texts;
}
