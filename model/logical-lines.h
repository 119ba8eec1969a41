// A model text's lines one after another with their numbers, seen in place; a line ending in
// a backslash continues on the next (only such lines are copied). The lines of plain numbers
// that are most of a large file ("x y z", "v x y z", "surf" and its 20) are read ahead on
// every core a block at a time, so the reader that walks the lines takes their numbers without
// reading their words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "model/largest-rounding.h"

// What a line holds, when it was read ahead: Unknown says its words must be read.
enum class LineShape : uint8_t {
    Unknown,
    ThreeNumbers,   // three finite numbers (a comment after them aside)
    Vertex,         // "v" and three finite numbers
    Surface,        // "surf", four finite numbers and 16 whole numbers of 32 bits other than 0
    BicubicDegrees, // "3 3", a patch's start in the patch text
    SurfaceEnd,     // "end" and anything after it
    Parameters,     // "parm" and anything after it (a surface's parameter values)
};

// A surface line's numbers: its parameter range and its 16 point numbers as written (one
// past 32 bits is left to the words' reading).
struct SurfaceNumbers {
    float range[4];
    int32_t points[16];
};

class LogicalLines {
  public:
    // Measured: the lines of three numbers read ahead also measure what six significant digits
    // change in them, where the reading threads have their text at hand.
    explicit LogicalLines(std::string_view text,
                          SixDigitChange sixDigits = SixDigitChange::Unmeasured)
        : text_(text), sixDigits_(sixDigits) {}
    ~LogicalLines();
    LogicalLines(const LogicalLines&) = delete;
    LogicalLines& operator=(const LogicalLines&) = delete;
    // False at the end of the text.
    bool next(std::string_view& line, size_t& number);
    // The shape of the line next() gave last, and its three numbers when it has them.
    LineShape shape() const { return shape_; }
    const float* numbers() const { return numbers_; }
    // When measured, the largest change six significant digits make to those numbers (as
    // roundingOf says of them as a point); 0 otherwise.
    float sixDigitChange() const { return sixDigitChange_; }
    // Its numbers when it is a Surface.
    const SurfaceNumbers& surface() const { return surface_; }
    // The lines next() would give next while they have that shape (ThreeNumbers or Vertex),
    // at most `most`, taken at once: their numbers into points and their six-digit changes
    // into changes, number the last one's. How many were taken (0 leaves next() where it was).
    // Such a line is a whole statement (one continued is never read ahead).
    size_t takeRun(LineShape shape, size_t most, vm::Float3* points, float* changes,
                   size_t& number);

    // For tests and fuzzing: the bytes read ahead at once (small blocks put short texts
    // through the threads), or 0 for the default.
    static void setBlockBytes(size_t bytes);

    // A physical line read ahead: where it ends (its '\n', or the text's end) and its shape.
    struct Ahead {
        size_t end;
        LineShape shape;
        bool rounded;        // six digits change its numbers: by its piece's next change
        bool carriageReturn; // before its '\n', when its shape is known (the walking reader
                             // then need not read its text)
        float numbers[3];
    };

    // A block's lines in the pieces its threads read (each piece's storage kept for the next
    // block: no copy joins them, and no new memory is touched block after block). A piece's
    // Surface lines keep their numbers aside, in order, and so do its rounded lines their
    // change, so that every line stays small.
    static constexpr size_t kPieces = 8;
    struct Block {
        std::vector<Ahead> pieces[kPieces];
        std::vector<SurfaceNumbers> surfaces[kPieces];
        std::vector<float> changes[kPieces];
        // The line next taken, the piece's next surface and change.
        size_t piece = 0, line = 0, surface = 0, change = 0;
    };

  private:
    const Ahead& ahead();

    std::string_view text_;
    SixDigitChange sixDigits_;
    size_t at_ = 0, physical_ = 0;
    bool ended_ = false;
    std::string joined_;
    Block ahead_;     // the lines from at_ on, its next line the one at at_
    Block following_; // the next block, read meanwhile by reading_
    bool started_ = false;
    std::thread reading_;
    LineShape shape_ = LineShape::Unknown;
    float numbers_[3] = {};
    float sixDigitChange_ = 0;
    SurfaceNumbers surface_ = {};
};
