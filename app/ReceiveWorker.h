#pragma once
// The receive worker: one thread that reads frames back to back while receiving is on.
//
// Stop() clears the receiving flag and waits for the thread to end, so a read in flight
// finishes before the caller sends its next request or unloads the libraries. The wait is
// bounded by the adapter's transfer limit, and the worker never waits for the UI thread, so it
// cannot deadlock. Standard C++ only.

#include <atomic>
#include <functional>
#include <thread>

class ReceiveWorker {
  public:
    struct Steps {
        std::function<bool()> readFrame;  // true: one frame was read and stored
        std::function<void()> frameRead;  // after every frame read
        std::function<void()> failed;     // once, after a failed read; the worker then ends
    };

    ReceiveWorker() = default;
    ~ReceiveWorker() { Stop(); }
    ReceiveWorker(const ReceiveWorker&) = delete;
    ReceiveWorker& operator=(const ReceiveWorker&) = delete;

    // Sets the receiving flag and starts the thread (after joining an earlier one that ended).
    void Start(Steps steps);
    // Clears the receiving flag and waits until the thread has ended. Quick when nothing runs.
    void Stop();

    bool Receiving() const { return receiving_.load(); }

  private:
    void Run(const Steps& steps);

    std::atomic<bool> receiving_{false};
    std::thread thread_;
};
