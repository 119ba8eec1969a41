// One instance of a STEP file's data sections: its canonical text after "=" (comments and
// whitespace outside strings left out, line breaks inside strings too), seen in place in the
// file, or in a copy when something was left out of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace step {

struct Instance {
    // The order of an instance indexed by number alone (a plain point): it is never sorted.
    static constexpr uint32_t kUnordered = std::numeric_limits<uint32_t>::max();
    const char* begin;
    uint32_t length;
    uint32_t order; // in the file
    std::string_view text() const { return {begin, length}; }
    // Read again from the "#12=" before its text, which stays with it.
    long number() const;
    // Asks for the memory of its number and the start of its text ahead of reading them: a
    // file's instances other than points lie hundreds of bytes apart, farther than the
    // processor fetches ahead on its own, so each pass over them waits on memory otherwise.
    void prefetch() const { __builtin_prefetch(begin - kNumberBytes); }
    // Instances asked for ahead of the one read: enough to cover memory's delay.
    static constexpr size_t kAhead = 8;

  private:
    static constexpr size_t kNumberBytes = 8; // "#12345=" and the like
};

} // namespace step
