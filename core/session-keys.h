// Sections and keys of the settings file "session.ini", and the read buffer sizes.
#pragma once

namespace session {

inline constexpr const char* kFileName = ".\\session.ini";
inline constexpr const char* kSession = "Session";
inline constexpr const char* kTool = "Tool";

inline constexpr int kUseDefaultPosition = static_cast<int>(0x80000000u); // CW_USEDEFAULT

inline constexpr size_t kFloatBuffer = 40;
inline constexpr size_t kLoadedFileBuffer = 260;
inline constexpr size_t kSelectedPatchesBuffer = 560;

} // namespace session
