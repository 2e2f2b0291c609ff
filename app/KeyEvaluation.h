#pragma once
// The "按键评估" page's judging: the recording the window shows, judged on a thread of its own
// with the rule palvex-capture uses, so that the window answers while a million frames are
// judged and receiving goes on at full speed.
//
// Each Evaluate() is a request with a number. The thread judges the newest request, channel by
// channel, and posts its figures through the window's result queue as KeysEvaluated; a request
// overtaken by a later one is dropped between two channels, and its figures, should they still
// arrive, are told apart by their number (Current). While receiving, a repeating request judges
// the recording so far again and again, resting between the passes at least kLiveRest and
// kRestPerPass times as long as the last pass took: judging a long recording then takes at most
// a quarter of a processor core, and the adapter's thread and the window keep theirs. The
// figures are at most kLiveRest plus (kRestPerPass + 2) passes old.
//
// The store is read through StoreChannels: one channel's differences at a time, no copy of the
// recording. Standard C++ only; the window's thread calls every member.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "app/WindowResults.h"
#include "device/store/TouchSampleStore.h"
#include "evaluation/KeyFigures.h"

class KeyEvaluation {
  public:
    static constexpr std::chrono::milliseconds kLiveRest{500};
    static constexpr int kRestPerPass = 3;

    explicit KeyEvaluation(SharedWindowResults results);
    // Drops what is asked and waits for the channel being judged.
    ~KeyEvaluation();
    KeyEvaluation(const KeyEvaluation&) = delete;
    KeyEvaluation& operator=(const KeyEvaluation&) = delete;

    // Judges store (none: nothing to judge, no rows) with settings once, or, with repeat, again
    // after every pass until the next request. The store must outlive the evaluation, or the
    // next request.
    void Evaluate(const TouchSampleStore* store, const JudgeSettings& settings,
                  bool repeat = false);
    // True when evaluated answers the newest request.
    bool Current(const KeysEvaluated& evaluated) const { return evaluated.request == requests_; }

  private:
    struct Request {
        unsigned number = 0;
        const TouchSampleStore* store = nullptr;
        JudgeSettings settings;
        bool repeat = false;
    };

    void Run();
    // Judges request's store; false when a later request or the end overtook it.
    bool Judge(const Request& request);
    bool Overtaken(unsigned number);

    SharedWindowResults results_;
    unsigned requests_ = 0;  // the window's thread's count
    std::mutex mutex_;
    std::condition_variable wake_;
    Request newest_;        // under mutex_
    bool pending_ = false;  // newest_ not judged yet
    bool quit_ = false;
    std::thread thread_;  // last: it starts once everything above exists
};
