// UTF-8 one character at a time, for names that travel through other programs' files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace utf8 {

constexpr char32_t kReplacement = 0xFFFD; // what a byte that is not UTF-8 stands for

// The character at text[at], advancing at past it; a byte that does not start a valid
// sequence is kReplacement and is passed alone.
char32_t next(std::string_view text, size_t& at);
void append(std::string& out, char32_t c);
// The longest start of text of at most bytes bytes that does not end inside a character.
std::string_view prefix(std::string_view text, size_t bytes);
// Whether every byte of text belongs to a valid sequence.
bool valid(std::string_view text);

} // namespace utf8
