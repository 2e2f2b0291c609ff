#pragma once
// Reads a recording file on a thread of its own, so that the window answers while a file of
// hundreds of megabytes is read, and stops cleanly when the window closes or another file is
// opened. One load at a time; each has a number, which its reports carry, so that a report of
// a load already replaced can be told apart and ignored. Standard C++ only.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "device/recording/RecordingLoad.h"
#include "device/store/TouchSampleStore.h"

class RecordingLoader {
  public:
    // Both are called on the loader's thread.
    struct Reports {
        std::function<void(unsigned load, unsigned percent)> progress;  // when it changes
        std::function<void(unsigned load)> finished;  // last, once per load not stopped
    };

    explicit RecordingLoader(Reports reports) : reports_(std::move(reports)) {}
    // Stops the load that runs.
    ~RecordingLoader() { Stop(); }
    RecordingLoader(const RecordingLoader&) = delete;
    RecordingLoader& operator=(const RecordingLoader&) = delete;

    // Stops the load that runs, then reads file, of size bytes, which the loader closes; name
    // goes into the reasons. Returns the new load's number.
    unsigned Start(std::FILE* file, std::uint64_t size, std::string name);
    // Stops the load that runs, if any, and waits for its thread: at most one line's work.
    // What it read is dropped.
    void Stop();

    // After finished(load): how the load ended and, once loaded, the recording, handed over
    // into target without a copy. Both wait for the thread, which finished() ends.
    const RecordingLoadResult& Result() {
        Join();
        return result_;
    }
    void HandOverTo(TouchSampleStore& target) {
        Join();
        loaded_.HandOverTo(target);
    }

  private:
    void Join() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    void Load(std::FILE* file, std::uint64_t size, const std::string& name, unsigned load);

    Reports reports_;
    std::atomic<bool> stopping_{false};
    unsigned loads_ = 0;
    RecordingLoadResult result_{RecordingLoadResult::Outcome::Cancelled, {}};
    TouchSampleStore loaded_;
    std::thread thread_;
};
