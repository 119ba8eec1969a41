#include "editor/recovery-writer.h"

#include <exception>
#include <new>

#include "core/file-replace.h"
#include "model/obj-format.h"

namespace {
// A model that cannot be written whole (a value that is not a number) still gets a copy:
// everything before that value is worth keeping, and reading it back says where it stops.
// Nothing thrown leaves it: a copy that runs out of memory (a huge model) or meets any other
// failure is a failed copy, never the end of the program.
std::string writeCopy(const Model& model, const std::string& path) {
    try {
        std::string error;
        return replaceFileContents(path, writeObj(model), &error) ? std::string() : error;
    } catch (const std::bad_alloc&) {
        return "not enough memory for the copy";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "an unexpected error";
    }
}
} // namespace

Model snapshotOf(const Model& model) {
    Model copy;
    copy.points = model.points;
    copy.patches = model.patches;
    copy.locators = model.locators;
    copy.groups.reserve(model.groups.size());
    for (const auto& group : model.groups) {
        if (auto* symmetry = dynamic_cast<const Model::Symmetry*>(group.get()))
            copy.groups.push_back(std::make_unique<Model::Symmetry>(*symmetry));
        else
            copy.groups.push_back(std::make_unique<Model::Group>(*group));
    }
    return copy;
}

bool RecoveryWriter::due(double now, bool modified) const {
    return modified && !busy_ && (lastStart_ < 0 || now - lastStart_ >= kIntervalSeconds);
}

bool RecoveryWriter::start(Model snapshot, std::string path, double now) {
    if (busy_) return false;
    if (worker_.joinable()) worker_.join();
    busy_ = true;
    abandoned_ = false;
    lastStart_ = now;
    worker_ = std::thread([this, model = std::move(snapshot), path = std::move(path)] {
        std::string error = writeCopy(model, path);
        if (abandoned_) removeFile(path); // after it is in place: never left behind
        {
            std::lock_guard<std::mutex> lock(errorMutex_);
            lastError_ = std::move(error);
        }
        busy_ = false;
    });
    return true;
}

bool RecoveryWriter::writeNow(const Model& model, const std::string& path) {
    if (!onWorkerThread()) wait();
    std::string error = writeCopy(model, path);
    std::lock_guard<std::mutex> lock(errorMutex_);
    lastError_ = std::move(error);
    return lastError_.empty();
}

void RecoveryWriter::wait() {
    if (worker_.joinable() && !onWorkerThread()) worker_.join();
}

bool RecoveryWriter::onWorkerThread() const {
    return worker_.joinable() && worker_.get_id() == std::this_thread::get_id();
}

void RecoveryWriter::fail(std::string reason, double now) {
    lastStart_ = now;
    std::lock_guard<std::mutex> lock(errorMutex_);
    lastError_ = std::move(reason);
}

std::string RecoveryWriter::lastError() const {
    std::lock_guard<std::mutex> lock(errorMutex_);
    return lastError_;
}
