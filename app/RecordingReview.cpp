#include "app/RecordingReview.h"

#include <atomic>
#include <new>
#include <thread>
#include <utility>

#include "device/recording/RecordingReader.h"

struct RecordingReview::Job {
    Job(unsigned number, std::string name) : number(number), name(std::move(name)) {}

    const unsigned number;
    const std::string name;
    std::atomic<bool> stopping{false};
    // Written by the reading thread before it posts RecordingRead, read after it.
    RecordingLoadResult result{RecordingLoadResult::Outcome::Cancelled, {}};
    TouchSampleStore loaded;
};

void RecordingReview::Load(RecordingSource source, std::string name) {
    Stop();
    load_ = std::make_shared<Job>(++loads_, std::move(name));
    std::thread(&RecordingReview::Read, load_, std::move(source), results_).detach();
}

void RecordingReview::Stop() {
    if (load_ != nullptr) {
        load_->stopping = true;
        load_.reset();
    }
}

void RecordingReview::SetAside() {
    Stop();
    shown_.clear();
}

const std::string& RecordingReview::LoadingName() const {
    static const std::string none;
    return load_ != nullptr ? load_->name : none;
}

std::optional<unsigned> RecordingReview::Progress(const RecordingProgress& report) const {
    if (load_ == nullptr || report.load != load_->number) {
        return std::nullopt;
    }
    return report.percent;
}

std::optional<RecordingLoadResult> RecordingReview::Finish(const RecordingRead& report,
                                                           TouchSampleStore& target) {
    if (load_ == nullptr || report.load != load_->number) {
        return std::nullopt;
    }
    const std::shared_ptr<Job> job = std::move(load_);
    if (job->result.outcome == RecordingLoadResult::Outcome::Loaded) {
        job->loaded.HandOverTo(target);
        shown_ = job->name;
    }
    return job->result;
}

void RecordingReview::Read(const std::shared_ptr<Job>& job, RecordingSource source,
                           const SharedWindowResults& results) {
    unsigned shownPercent = 0;
    results->Post(RecordingProgress{job->number, shownPercent});
    const auto progress = [&](std::uint64_t bytes) {
        const auto percent =
            static_cast<unsigned>(source.size == 0 ? 100 : bytes * 100 / source.size);
        if (percent != shownPercent) {
            shownPercent = percent;
            results->Post(RecordingProgress{job->number, percent});
        }
    };
    if (source.file == nullptr) {
        job->result = {RecordingLoadResult::Outcome::Refused, job->name + ": cannot be opened"};
    } else {
        try {
            RecordingReader reader(source.file.get(), job->name);
            job->result = LoadRecording(reader, job->loaded, job->stopping, progress);
        } catch (const std::bad_alloc&) {
            job->result = {RecordingLoadResult::Outcome::Refused,
                           job->name + ": too large for the memory that is free"};
        }
    }
    source.file.reset();
    if (job->result.outcome != RecordingLoadResult::Outcome::Loaded) {
        job->loaded.RemoveAllChannels();  // a part of a file is not shown, and its memory goes now
    }
    if (job->result.outcome != RecordingLoadResult::Outcome::Cancelled) {
        results->Post(RecordingRead{job->number});
    }
}
