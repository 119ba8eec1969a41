#include "editor/recovery-copies.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/file-replace.h"
#include "core/settings-file.h"

namespace recovery {

namespace {

constexpr const char* kPrefix = "tavrel-";
constexpr const char* kSection = "Recovery";
constexpr size_t kValueBuffer = 1024;

bool digits(const std::string& text, size_t from, size_t to) {
    if (from >= to) return false;
    for (size_t i = from; i < to; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

bool endsWith(const std::string& text, const char* end) {
    const size_t n = std::strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

// "tavrel-<digits>-<digits>"
bool isStem(const std::string& stem) {
    const size_t prefix = std::strlen(kPrefix);
    if (stem.compare(0, prefix, kPrefix) != 0) return false;
    const size_t dash = stem.find('-', prefix);
    return dash != std::string::npos && digits(stem, prefix, dash) &&
           digits(stem, dash + 1, stem.size());
}

// The start stamp of a stem, for ordering copies by age.
std::string stampOf(const std::string& stem) {
    return stem.substr(stem.find_last_of('-') + 1);
}

} // namespace

std::string copyStem(unsigned long processId, const std::string& startStamp) {
    std::string stamp;
    for (char c : startStamp)
        if (std::isdigit(static_cast<unsigned char>(c))) stamp += c;
    return kPrefix + std::to_string(processId) + "-" + (stamp.empty() ? "0" : stamp);
}

std::string stemOf(const std::string& fileName) {
    if (!endsWith(fileName, kCopyExtension)) return {};
    std::string stem = fileName.substr(0, fileName.size() - std::strlen(kCopyExtension));
    return isStem(stem) ? stem : std::string();
}

bool isCopyName(const std::string& fileName) {
    return !stemOf(fileName).empty();
}

std::string folderBeside(const std::string& settingsPath) {
    const size_t slash = settingsPath.find_last_of("\\/");
    const std::string folder =
        slash == std::string::npos ? std::string() : settingsPath.substr(0, slash + 1);
    const char separator = slash == std::string::npos ? '\\' : settingsPath[slash];
    return folder + kFolderName + separator;
}

bool writeNote(const std::string& notePath, const Note& note) {
    // The note is the editor's own: written whole in one go (the settings file's key-by-key
    // writing would replace the file three times), read back as settings.
    return replaceFileContents(notePath, std::string("[") + kSection + "]\r\nFile=" + note.file +
                                             "\r\nSaved=" + note.saved +
                                             "\r\nPartlyRead=" + note.partlyRead + "\r\n");
}

Note readNote(const std::string& notePath) {
    const SettingsFile file(notePath);
    return {file.readString(kSection, "File", "", kValueBuffer),
            file.readString(kSection, "Saved", "an earlier session", kValueBuffer),
            file.readString(kSection, "PartlyRead", "", kValueBuffer)};
}

std::vector<std::string> copyStems(const std::vector<std::string>& fileNames) {
    std::vector<std::string> stems;
    for (const std::string& name : fileNames)
        if (std::string stem = stemOf(name); !stem.empty()) stems.push_back(std::move(stem));
    std::sort(stems.begin(), stems.end(), [](const std::string& a, const std::string& b) {
        const std::string sa = stampOf(a), sb = stampOf(b);
        if (sa.size() != sb.size()) return sa.size() > sb.size();
        return sa != sb ? sa > sb : a > b;
    });
    return stems;
}

} // namespace recovery
