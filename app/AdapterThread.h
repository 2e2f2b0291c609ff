#pragma once
// The adapter's thread: every exchange with the adapter runs here, one job after another,
// receiving included.
//
// An adapter that stops answering makes each exchange wait out its transfer limit and the
// request module's resynchronisation, some eight seconds; the window's thread therefore never
// exchanges with the adapter itself, it posts a job and takes the job's result later. Because
// the jobs run one after another, a request posted while frames are being received runs only
// once the read in flight has finished: they can never interleave.
//
// Receiving is one job: it reads frames back to back until StopReceiving() or a read fails.
// The thread never waits for the window's thread, so nothing here can deadlock. Standard C++
// only.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class AdapterThread {
  public:
    // Why receiving ended by itself.
    enum class End { ReadFailed, OutOfMemory };

    struct Steps {
        std::function<bool()> readFrame;  // true: one frame was read and stored
        std::function<void()> frameRead;  // after every frame read
        std::function<void(End)> ended;   // once, when receiving ended without StopReceiving
    };

    AdapterThread();
    // Abandons what is queued and waits for the job that runs: one exchange at most, when
    // the job asks Abandoned() between its exchanges.
    ~AdapterThread();
    AdapterThread(const AdapterThread&) = delete;
    AdapterThread& operator=(const AdapterThread&) = delete;

    // Runs job after every job posted before it; once abandoned, never.
    void Post(std::function<void()> job);
    // Sets the receiving flag and queues the receiving loop.
    void Receive(Steps steps);
    // Clears the receiving flag: the loop ends after the read in flight, and jobs posted
    // from now on run after that read.
    void StopReceiving() { receiving_ = false; }
    // For closing the program: ends receiving, drops the jobs that have not started and
    // tells the one that runs, through Abandoned(), to stop after its exchange.
    void Abandon();
    // True once abandoned: a job of several exchanges asks before each.
    bool Abandoned() const { return abandoned_.load(); }

    bool Receiving() const { return receiving_.load(); }

  private:
    void Run();
    void RunReceiving(const Steps& steps);

    std::atomic<bool> receiving_{false};
    std::atomic<bool> abandoned_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool quit_ = false;
    std::thread thread_;  // last: it starts once everything above exists
};
