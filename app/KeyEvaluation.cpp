#include "app/KeyEvaluation.h"

#include <algorithm>
#include <utility>

#include "app/StoreChannels.h"

KeyEvaluation::KeyEvaluation(SharedWindowResults results)
    : results_(std::move(results)), thread_([this] { Run(); }) {}

KeyEvaluation::~KeyEvaluation() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void KeyEvaluation::Evaluate(const TouchSampleStore* store, const JudgeSettings& settings,
                             bool repeat) {
    {
        std::lock_guard lock(mutex_);
        newest_ = {++requests_, store, settings, repeat};
        pending_ = true;
    }
    wake_.notify_one();
}

bool KeyEvaluation::Overtaken(unsigned number) {
    std::lock_guard lock(mutex_);
    return quit_ || newest_.number != number;
}

void KeyEvaluation::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || pending_; });
        if (quit_) {
            return;
        }
        const Request request = newest_;
        pending_ = false;
        lock.unlock();
        const auto started = std::chrono::steady_clock::now();
        const bool judged = Judge(request);
        const auto rest = std::max<std::chrono::steady_clock::duration>(
            kLiveRest, kRestPerPass * (std::chrono::steady_clock::now() - started));
        lock.lock();
        if (judged && request.repeat && newest_.number == request.number) {
            // The next pass after a rest, unless a request or the end comes first.
            if (!wake_.wait_for(lock, rest, [this] { return quit_ || pending_; })) {
                pending_ = true;
            }
        }
    }
}

bool KeyEvaluation::Judge(const Request& request) {
    KeysEvaluated evaluated;
    evaluated.request = request.number;
    evaluated.settings = request.settings;
    evaluated.readAt = std::chrono::steady_clock::now();
    if (request.store != nullptr) {
        const StoreChannels channels(*request.store);
        evaluated.frames = channels.FrameCount();
        for (std::uint32_t position = 0; position < channels.ChannelCount(); ++position) {
            if (Overtaken(request.number)) {
                return false;
            }
            evaluated.figures.push_back(JudgeKey(channels.Read(position), request.settings));
        }
    }
    if (Overtaken(request.number)) {
        return false;
    }
    results_->Post(std::move(evaluated));
    return true;
}
