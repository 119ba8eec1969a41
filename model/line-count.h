// Counting a text's lines at memory speed: a bound on its statements, for which an import
// reserves the model's lists at once (room never written takes no memory, while growing a
// list by doubling touches twice its memory and copies it).
#pragma once

#include <cstddef>
#include <string_view>

// The line breaks in text, plus one.
size_t lineCount(std::string_view text);
