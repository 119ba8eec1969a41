#include "editor/recovery-writer.h"

#include "core/file-replace.h"
#include "model/obj-format.h"

namespace {
// A model that cannot be written whole (a value that is not a number) still gets a copy:
// everything before that value is worth keeping, and reading it back says where it stops.
std::string writeCopy(const Model& model, const std::string& path) {
    std::string error;
    return replaceFileContents(path, writeObj(model), &error) ? std::string() : error;
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
    lastStart_ = now;
    worker_ = std::thread([this, model = std::move(snapshot), path = std::move(path)] {
        std::string error = writeCopy(model, path);
        {
            std::lock_guard<std::mutex> lock(errorMutex_);
            lastError_ = std::move(error);
        }
        busy_ = false;
    });
    return true;
}

bool RecoveryWriter::writeNow(const Model& model, const std::string& path) {
    wait();
    std::string error = writeCopy(model, path);
    std::lock_guard<std::mutex> lock(errorMutex_);
    lastError_ = std::move(error);
    return lastError_.empty();
}

void RecoveryWriter::wait() {
    if (worker_.joinable()) worker_.join();
}

std::string RecoveryWriter::lastError() const {
    std::lock_guard<std::mutex> lock(errorMutex_);
    return lastError_;
}
