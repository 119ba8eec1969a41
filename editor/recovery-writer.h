// The recovery copy: what the document holds, written beside the settings file while it has
// unsaved changes, so that a crash or a killed process loses at most the last half minute.
// The copy is taken on the editor's thread (a plain copy of the data); turning it into text
// and writing it happen on a worker thread, so a frame never waits for the disk.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "model/model.h"

// The document's data without its GPU copy or tree items, as a file would hold it.
Model snapshotOf(const Model& model);

class RecoveryWriter {
  public:
    static constexpr double kIntervalSeconds = 30.0;

    RecoveryWriter() = default;
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;
    ~RecoveryWriter() { wait(); }

    // Whether a copy is due at time now (seconds): there are unsaved changes and the last
    // copy is at least the interval old (or there is none since they began).
    bool due(double now, bool modified) const;

    // Starts writing snapshot to path on the worker thread and notes the time; false (and
    // nothing started) while an earlier copy is still being written.
    bool start(Model snapshot, std::string path, double now);
    // Writes at once on the calling thread (after any copy under way), for the moments the
    // process may end right after: a lost device, a fatal error, the end of the session.
    // Called on the worker itself (a crash while it writes), it does not wait for itself.
    bool writeNow(const Model& model, const std::string& path);
    // A copy that could not even be started (no memory for its snapshot) counts as a failed
    // copy taken at time now: it is said, and tried again after the interval.
    void fail(std::string reason, double now);
    bool onWorkerThread() const;
    // Waits for a copy under way to finish.
    void wait();
    // The changes were saved or dropped: a copy under way is removed once written, without
    // waiting for it (a copy of a large model takes a while).
    void abandon() { abandoned_ = true; }
    bool busy() const { return busy_; }
    // The last copy started at this time; forget it when the changes were saved or dropped.
    void reset() { lastStart_ = -1; }
    // What the last write said when it failed ("" when it succeeded).
    std::string lastError() const;

  private:
    std::thread worker_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> abandoned_{false};
    double lastStart_ = -1;
    mutable std::mutex errorMutex_;
    std::string lastError_;
};
