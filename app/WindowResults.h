#pragma once
// The results that the adapter's thread, the recording's reading thread and the key evaluation
// hand back to the window, one type per kind, all through one queue. Standard C++ only.

#include <chrono>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "app/ResultQueue.h"
#include "device/connection/DeviceLink.h"
#include "evaluation/KeyFigures.h"

// "打开设备" answered: how connecting ended, and the steps after it that succeeded.
struct DeviceOpened {
    ConnectResult connection = ConnectResult::Connected;
    bool handshakeAnswered = false;  // the start request was answered
    bool layoutRead = false;         // the channel layout was read (the store has its channels)
    ConnectFailureText why;          // a failed connection: its reasons, in the window's words
};
// "继续接收" answered: whether the start request was.
struct StreamingStarted {
    bool handshakeAnswered = false;
};
// "停止接收" done: the stop request ran after the last read.
struct ReceivingStopped {};
// Receiving ended by itself, without "停止接收".
struct ReceivingEnded {
    enum class Why { ReadFailed, OutOfMemory } why = Why::ReadFailed;
};
// A recording's load has read percent of its file.
struct RecordingProgress {
    unsigned load = 0;
    unsigned percent = 0;
};
// A recording's load ended, loaded or refused (a stopped load reports nothing).
struct RecordingRead {
    unsigned load = 0;
};

// The figures of the recording shown, judged with settings over its first frames.
struct KeysEvaluated {
    unsigned request = 0;
    JudgeSettings settings;
    std::uint64_t frames = 0;
    std::vector<KeyFigures> figures;  // in store order; none without a store
    // When the store was read: the figures are as old as the time since.
    std::chrono::steady_clock::time_point readAt;
};

using WindowResult = std::variant<DeviceOpened, StreamingStarted, ReceivingStopped, ReceivingEnded,
                                  RecordingProgress, RecordingRead, KeysEvaluated>;
using WindowResults = ResultQueue<WindowResult>;
using SharedWindowResults = std::shared_ptr<WindowResults>;
