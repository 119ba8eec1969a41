#include "editor/recent-files.h"

#include <algorithm>
#include <cctype>

#include "core/settings-file.h"

namespace {

constexpr const char* kSection = "Recent";
// Long paths fit; a value that fills the buffer was cut and names no file.
constexpr size_t kPathBuffer = 4096;

std::string keyName(size_t index) {
    return "File" + std::to_string(index + 1);
}

char folded(char c) {
    return c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

bool samePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return folded(x) == folded(y);
           });
}

void RecentFiles::add(const std::string& path) {
    if (path.empty()) return;
    forget(path);
    files_.insert(files_.begin(), path);
    if (files_.size() > kMaxFiles) files_.resize(kMaxFiles);
}

bool RecentFiles::forget(const std::string& path) {
    const auto listed = std::find_if(files_.begin(), files_.end(),
                                     [&](const std::string& f) { return samePath(f, path); });
    if (listed == files_.end()) return false;
    files_.erase(listed);
    return true;
}

void RecentFiles::load(const SettingsFile& settings) {
    files_.clear();
    for (size_t i = 0; i < kMaxFiles; ++i) {
        const std::string key = keyName(i);
        std::string path = settings.readString(kSection, key.c_str(), "", kPathBuffer);
        if (path.empty() || path.size() >= kPathBuffer - 1) continue;
        const bool listed = std::any_of(files_.begin(), files_.end(),
                                        [&](const std::string& f) { return samePath(f, path); });
        if (!listed) files_.push_back(std::move(path));
    }
}

bool RecentFiles::save(const SettingsFile& settings) const {
    bool written = true;
    for (size_t i = 0; i < kMaxFiles; ++i) {
        const std::string key = keyName(i);
        written &= settings.writeString(kSection, key.c_str(), i < files_.size() ? files_[i] : "");
    }
    return written;
}
