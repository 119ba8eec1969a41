// Where recovery copies live and what is noted beside each. Every running editor owns one
// copy of its own in the "recovery" folder beside its settings file, under a name no file
// dialog proposes ("tavrel-<process>-<start>.recovery"), with a note ("….ini": whose changes,
// when, and where reading the document's file stopped) and a lock file ("….lock") that its
// owner holds open while it runs. A copy is a crash leftover only when nobody holds its lock,
// and the editor deletes nothing in that folder but files of that pattern.
#pragma once

#include <string>
#include <vector>

namespace recovery {

inline constexpr const char* kFolderName = "recovery";
inline constexpr const char* kCopyExtension = ".recovery";
inline constexpr const char* kNoteExtension = ".ini";
inline constexpr const char* kLockExtension = ".lock";

// "tavrel-1234-20261208231500": the stem of the copy, note and lock of one running editor.
std::string copyStem(unsigned long processId, const std::string& startStamp);
// Whether a file name (without folder) is a copy this program writes: the stem's pattern
// followed by kCopyExtension. A user's "recovery.obj" is not.
bool isCopyName(const std::string& fileName);
// The copy's stem from its file name ("" when it is not a copy's name).
std::string stemOf(const std::string& fileName);

// The folder (ending in a separator) beside the settings file at settingsPath.
std::string folderBeside(const std::string& settingsPath);

// What the note beside a copy says.
struct Note {
    std::string file;       // the document's path, "" when untitled
    std::string saved;      // when the copy was taken, "2026-12-08 23:15:00"
    std::string partlyRead; // where reading the document's file stopped, "" when read whole
};
bool writeNote(const std::string& notePath, const Note& note);
Note readNote(const std::string& notePath);

// Among file names of the folder, the copies' stems, newest start first.
std::vector<std::string> copyStems(const std::vector<std::string>& fileNames);

} // namespace recovery
