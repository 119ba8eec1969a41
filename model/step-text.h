// The text of a STEP exchange file (ISO 10303-21): its entity instances, their records and
// parameters, and its strings. Text inside strings and comments never ends a statement or a
// section; whitespace between tokens is allowed anywhere.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/step-instance.h"
#include "model/step-plain-points.h"

namespace step {

// The instances of the file's data sections by number, each as its canonical text after "=".
// A text is seen in place in the file (which must outlive the index), copied only when
// something was left out of it: a file of millions of points is indexed in 16 bytes an
// instance. Plain points are indexed by number as they are read (PlainPoints); the others are
// listed, and the list sorted by number.
class Instances {
  public:
    using Instance = step::Instance;
    explicit Instances(std::string_view file);
    // The listed instances (every one but the plain points), by number.
    const Instance* begin() const { return list_.data(); }
    const Instance* end() const { return list_.data() + list_.size(); }
    size_t size() const { return list_.size(); }
    // The instance of that number, if any.
    std::optional<Instance> find(long number) const;
    // The file from the text of the plain point of that number on (see PlainPoints::text),
    // empty when none has that number.
    std::string_view plainPoint(long number) const;
    // The listed instance of that number, or null; looked for first where it would be were the
    // numbers from near (a listed instance numbered nearNumber) on one after another (as
    // exporters number an entity's parts).
    const Instance* listed(long number, const Instance* near, long nearNumber) const;
    const Instance* listed(long number) const;
    // Why the file cannot be read whole ("" when it can): it ends before END-ISO-10303-21, or
    // an instance number is used twice or is too large (then only the later is indexed).
    const std::string& damage() const { return damage_; }
    // Statements of the data section that are not instances (#N=…), passed over.
    size_t stray() const { return stray_; }

  private:
    // Where the reading is: at, and the statement begun (from, npos when none; its text
    // once something was left out of it).
    struct Reading {
        static constexpr size_t kNone = std::string_view::npos;
        size_t at = 0, from = kNone;
        std::string statement;
        bool copied = false, quoted = false, ended = false;
    };
    Instances() = default;
    // Indexes the file, its plain points by number when plainPoints (else all are listed).
    void index(std::string_view file, bool plainPoints);
    // Whether no number names both a plain point and another instance.
    bool pointsApart() const;
    // Reads the statements before limit on from r (at is left where the reading stopped:
    // past limit when a comment runs over it, at the text's end after END-ISO-10303-21).
    void read(std::string_view file, Reading& r, size_t limit);
    // The instances read from a later part of the file, after this one's.
    void append(Instances&& later);
    void add(std::string_view statement);
    // The list by number, of two with one number the later kept; the first instance in the
    // file's order whose number was used before ("#12", its order), "" when none was.
    std::pair<std::string, uint32_t> sortByNumber();
    std::vector<Instance> list_;
    bool inData_ = false;   // while indexing: within a data section
    bool ascending_ = true; // while indexing: every number above the one before
    long lastNumber_ = 0;   // while indexing: the number indexed last
    size_t stray_ = 0;
    bool narrowNumbers_ = true;  // while indexing: every number from 0 to 2^32 - 1
    std::string tooLarge_;       // while indexing: the first number past long's range
    uint32_t tooLargeOrder_ = 0; // and the instances indexed before it
    std::string damage_;
    bool ended_ = false;                  // END-ISO-10303-21 was read
    std::deque<std::string> copied_;      // the statements something was left out of
    std::deque<std::string> laterCopies_; // those of a part read on another thread
    bool plainPoints_ = false;            // while indexing: plain points taken by number
    PlainPoints points_, laterPoints_;    // the latter read on another thread
};

// One record of an instance: its keyword and its top-level parameters as canonical text.
struct Record {
    std::string keyword;
    std::vector<std::string> parameters;
};
// A simple instance "A(…)" is one record; a complex one "(A(…)B(…)…)" several. Empty when
// the text is neither.
std::vector<Record> records(std::string_view instance);
const Record* findRecord(const std::vector<Record>& records, std::string_view keyword);

// "(a,b,(c,d))" → "a", "b", "(c,d)" (seen in list); empty when it is not a list.
std::vector<std::string_view> listItems(std::string_view list);
// "#12" → 12; false when the parameter is not a reference.
bool reference(std::string_view parameter, long& number);
// A real or an integer; false when the parameter is not a finite number.
bool number(std::string_view parameter, double& value);

// A string parameter's text in UTF-8: '' is a quote, a doubled backslash one backslash, and
// the escapes \X\hh, \X2\…\X0\ (UTF-16 code units), \X4\…\X0\ and \S\c the characters
// they stand for; false when the parameter is not a string.
bool decodeString(std::string_view parameter, std::string& text);
// A UTF-8 text as a string parameter: quote and backslash doubled, every character outside
// printable ASCII as \X2\…\X0\ (a byte that is not UTF-8 as U+FFFD).
std::string encodeString(std::string_view text);

} // namespace step
