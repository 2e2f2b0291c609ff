#pragma once
// The window's review of a recording file: reads the file on a thread of its own, so that the
// window answers while hundreds of megabytes are read, and keeps the name of the recording
// shown. One load at a time; each has a number, which its reports carry, so that a report of a
// load already replaced or stopped is told apart and ignored.
//
// Nothing here waits for a reading thread: a load that is stopped, by another file, by an
// open of the device or by the closing window, finishes on its own (at the next line, or when
// a read from a stalled network share returns) and its result is thrown away with the memory
// it took. Standard C++ only; the window's thread calls every member.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/WindowResults.h"
#include "device/recording/RecordingLoad.h"
#include "device/recording/RecordingSource.h"
#include "device/store/TouchSampleStore.h"

class RecordingReview {
  public:
    explicit RecordingReview(SharedWindowResults results) : results_(std::move(results)) {}
    ~RecordingReview() { Stop(); }
    RecordingReview(const RecordingReview&) = delete;
    RecordingReview& operator=(const RecordingReview&) = delete;

    // Stops the load that runs, then reads source, whose name (UTF-8) goes into the progress
    // and the reasons. RecordingProgress reports follow, then RecordingRead.
    void Load(RecordingSource source, std::string name);
    // Stops the load that runs, if any, without waiting for it.
    void Stop();
    // Stops the load that runs and forgets the recording shown.
    void SetAside();

    bool Loading() const { return load_ != nullptr; }
    // The name of the file being read; empty while none is.
    const std::string& LoadingName() const;
    // The name of the recording shown; empty while the window shows none.
    const std::string& ShownName() const { return shown_; }

    // The percent read, when the report is of the load that runs.
    std::optional<unsigned> Progress(const RecordingProgress& report) const;
    // How the load that runs ended, once RecordingRead says it has; none for the report of a
    // load replaced or stopped. A loaded recording is handed over into target without a copy
    // and becomes the one shown.
    std::optional<RecordingLoadResult> Finish(const RecordingRead& report,
                                              TouchSampleStore& target);

  private:
    struct Job;
    static void Read(const std::shared_ptr<Job>& job, RecordingSource source,
                     const SharedWindowResults& results);

    SharedWindowResults results_;
    unsigned loads_ = 0;
    std::shared_ptr<Job> load_;  // the load that runs; shared with its reading thread
    std::string shown_;
};
