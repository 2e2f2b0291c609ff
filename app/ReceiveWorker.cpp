#include "app/ReceiveWorker.h"

#include <utility>

void ReceiveWorker::Start(Steps steps) {
    Stop();
    receiving_ = true;
    thread_ = std::thread([this, steps = std::move(steps)] { Run(steps); });
}

void ReceiveWorker::Stop() {
    receiving_ = false;
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ReceiveWorker::Run(const Steps& steps) {
    while (receiving_) {
        bool read = false;
        // An exception (memory exhausted while appending) ends receiving like a failed read
        // instead of ending the program.
        try {
            read = steps.readFrame();
            if (read) {
                steps.frameRead();
            }
        } catch (...) {
            read = false;
        }
        if (!read) {
            receiving_ = false;
            steps.failed();
            return;
        }
    }
}
