// The documents opened or saved last, newest first: what File → Open Recent lists, kept in
// section Recent of the settings file (File1 … File8).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class SettingsFile;

class RecentFiles {
  public:
    static constexpr size_t kMaxFiles = 8;

    const std::vector<std::string>& files() const { return files_; }

    // Puts path first; an entry naming the same file (letters of any case, either slash)
    // goes, and the oldest beyond kMaxFiles drop off.
    void add(const std::string& path);
    // Takes the file off the list (it is no longer there); false when it was not listed.
    bool forget(const std::string& path);

    // Empty and over-long values are skipped, repeats kept once.
    void load(const SettingsFile& settings);
    // Writes every key, emptying those past the list's end. False when it could not write.
    bool save(const SettingsFile& settings) const;

  private:
    std::vector<std::string> files_;
};

// Whether two paths name the same file as Windows compares them: case and slash aside.
bool samePath(const std::string& a, const std::string& b);
