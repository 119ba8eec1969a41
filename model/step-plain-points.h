// The plain points of a STEP file by number. Most of a file's instances are points written
// "#12=CARTESIAN_POINT('',(1.,2.,3.));", numbered one after another: each is indexed as it is
// read, in a slot its number picks, instead of in a list sorted afterwards and searched (a file
// of millions of points saves the sort and the searches, and the survey passes over none).
// A point is plain when its statement lies in the file as its canonical text (no whitespace,
// comment or line break in it) and its number falls in the slots' room; any other instance is
// left to the general index. A slot is the text's place in the file, 4 bytes a point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/step-instance.h"

namespace step {

class PlainPoints {
  public:
    static constexpr size_t kNone = std::string_view::npos;
    // Room for the numbers of the points of `bytes` of file (untouched room takes no memory).
    void expect(std::string_view file, size_t bytes);
    // Indexes the statement at file[at] (its '#') when it is a plain point ending before
    // limit: the place of its ';', else kNone (nothing indexed).
    size_t take(size_t at, size_t limit);
    // The file from the text of the point of that number on (the text runs to the first ';'
    // outside its strings); empty when no point has that number.
    std::string_view text(long number) const;
    // The point whose text starts the view.
    static Instance instance(std::string_view onwards);
    // Whether a number was taken twice (the later is kept).
    bool clashed() const { return clashed_; }
    // Whether a number is taken both here and in other.
    bool shares(const PlainPoints& other) const;
    bool empty() const { return slots_.empty(); }

  private:
    std::string_view file_;
    long first_ = 0;              // the number of the first slot
    std::vector<uint32_t> slots_; // a text's place in the file, 0 where no point has the number
    bool clashed_ = false;
};

} // namespace step
