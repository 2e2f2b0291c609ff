#include "app/AdapterThread.h"

#include <new>
#include <utility>

AdapterThread::AdapterThread() : thread_([this] { Run(); }) {}

AdapterThread::~AdapterThread() {
    Abandon();
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void AdapterThread::Post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        if (abandoned_) {
            return;
        }
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void AdapterThread::Receive(Steps steps) {
    receiving_ = true;
    Post([this, steps = std::move(steps)] { RunReceiving(steps); });
}

void AdapterThread::Abandon() {
    abandoned_ = true;
    receiving_ = false;
    std::lock_guard lock(mutex_);
    jobs_.clear();
}

void AdapterThread::Run() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || !jobs_.empty(); });
            if (quit_) {
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

void AdapterThread::RunReceiving(const Steps& steps) {
    while (receiving_) {
        End end = End::ReadFailed;
        // An exception ends receiving like a failed read instead of ending the program, and
        // what was recorded stays.
        try {
            if (steps.readFrame()) {
                steps.frameRead();
                continue;
            }
        } catch (const std::bad_alloc&) {
            end = End::OutOfMemory;
        } catch (...) {
        }
        receiving_ = false;
        steps.ended(end);
        return;
    }
}
