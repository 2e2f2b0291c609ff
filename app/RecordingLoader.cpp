#include "app/RecordingLoader.h"

#include <new>
#include <utility>

unsigned RecordingLoader::Start(std::FILE* file, std::uint64_t size, std::string name) {
    Stop();
    stopping_ = false;
    const unsigned load = ++loads_;
    thread_ = std::thread(
        [this, file, size, name = std::move(name), load] { Load(file, size, name, load); });
    return load;
}

void RecordingLoader::Stop() {
    stopping_ = true;
    Join();
    loaded_.RemoveAllChannels();  // a recording read but no longer wanted goes now
}

void RecordingLoader::Load(std::FILE* file, std::uint64_t size, const std::string& name,
                           unsigned load) {
    unsigned shownPercent = 0;
    reports_.progress(load, shownPercent);
    const auto progress = [&](std::uint64_t bytes) {
        const auto percent = static_cast<unsigned>(size == 0 ? 100 : bytes * 100 / size);
        if (percent != shownPercent) {
            shownPercent = percent;
            reports_.progress(load, percent);
        }
    };
    try {
        RecordingReader reader(file, name);
        result_ = LoadRecording(reader, loaded_, stopping_, progress);
    } catch (const std::bad_alloc&) {
        result_ = {RecordingLoadResult::Outcome::Refused,
                   name + ": too large for the memory that is free"};
    }
    std::fclose(file);
    if (result_.outcome != RecordingLoadResult::Outcome::Loaded) {
        loaded_.RemoveAllChannels();  // a part of a file is not shown, and its memory goes now
    }
    if (result_.outcome != RecordingLoadResult::Outcome::Cancelled) {
        reports_.finished(load);
    }
}
