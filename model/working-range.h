// How far from the origin the editor's coordinates go: typed, pasted and imported positions
// stay within ±kWorkingRange on every axis, as the model file keeps six significant digits
// (beyond it a saved coordinate moves by more than a thousand units).
#pragma once

#include <string_view>

inline constexpr float kWorkingRange = 1e9f;
inline constexpr std::string_view kWorkingRangeText = "-1e9 to 1e9"; // as said to the user
