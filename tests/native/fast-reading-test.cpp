// The shortcuts that make large files quick to read give exactly the answers of the plain
// way: the library's number conversion and the statements read one after another.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "model/decimal-number.h"
#include "model/obj-format.h"
#include "model/six-digits.h"
#include "model/statement-runs.h"

namespace {

std::string withinBuffer(std::string s) {
    return s + "        ";
} // room for 8-byte loads

TEST(DecimalNumbers, ReadExactlyAsTheLibraryDoes) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> digitCount(0, 12), digit(0, 9), form(0, 9);
    std::vector<std::string> samples = {"0",
                                        "-0",
                                        "1.",
                                        ".5",
                                        "-.25",
                                        "16777217",
                                        "0.1",
                                        "3.4e38",
                                        "1e-45",
                                        "1e39",
                                        "12345678.5",
                                        "0.000000001",
                                        "99999999999999999999",
                                        "1.00000005960464477539",
                                        "33554431",
                                        "-2147483648",
                                        "2147483648",
                                        "7e",
                                        "0x10",
                                        "nan",
                                        "-inf",
                                        "."};
    for (int i = 0; i < 200000; ++i) {
        std::string s;
        if (form(random) == 0) s += '-';
        for (int k = digitCount(random); k > 0; --k)
            s += static_cast<char>('0' + digit(random));
        if (form(random) < 7) {
            s += '.';
            for (int k = digitCount(random); k > 0; --k)
                s += static_cast<char>('0' + digit(random));
        }
        if (form(random) == 0) s += "e" + std::to_string(digit(random) - 4);
        samples.push_back(s);
    }
    // Values next to a point halfway between two floats, where rounding twice would differ.
    for (uint32_t bits = 0x3f800000; bits < 0x3f800000 + 2000; ++bits) {
        float f;
        std::memcpy(&f, &bits, sizeof f);
        char text[64];
        const double halfway = (static_cast<double>(f) + std::nextafter(f, 2.0f)) / 2;
        std::snprintf(text, sizeof text, "%.17f", halfway);
        samples.push_back(text);
        std::snprintf(text, sizeof text, "%.15f", halfway);
        samples.push_back(text);
    }
    for (const std::string& sample : samples) {
        for (const std::string& text : {sample, withinBuffer(sample + " 1")}) {
            const char* first = text.data();
            const char* last = first + text.size();
            float expected = -7, got = -7;
            const auto [next, error] = std::from_chars(first, last, expected);
            const char* end = decimal::parse(first, last, got);
            ASSERT_EQ(error == std::errc() ? next : nullptr, end) << "'" << text << "'";
            if (end) {
                ASSERT_EQ(std::memcmp(&expected, &got, sizeof got), 0) << "'" << text << "'";
            }
            double expectedDouble = -7, gotDouble = -7;
            const auto [nextDouble, errorDouble] = std::from_chars(first, last, expectedDouble);
            const char* endDouble = decimal::parse(first, last, gotDouble);
            ASSERT_EQ(errorDouble == std::errc() ? nextDouble : nullptr, endDouble) << text;
            if (endDouble) {
                ASSERT_EQ(std::memcmp(&expectedDouble, &gotDouble, sizeof gotDouble), 0) << text;
            }
        }
        int32_t expected = -7, got = -7;
        const std::string text = withinBuffer(sample);
        const auto [next, error] =
            std::from_chars(text.data(), text.data() + text.size(), expected);
        const char* end = decimal::parse(text.data(), text.data() + text.size(), got);
        ASSERT_EQ(error == std::errc() ? next : nullptr, end) << "'" << sample << "'";
        if (end) {
            ASSERT_EQ(expected, got) << "'" << sample << "'";
        }
    }
}

// A number read from six significant digits or fewer is kept by six digits as it is, from
// 10^-22 (the plain forms' reach) to 10^6.
TEST(DecimalNumbers, SixDigitsKeepWhatSixDigitsWrote) {
    std::mt19937 random(11);
    size_t kept = 0;
    for (int i = 0; i < 300000; ++i) {
        const std::string digits = std::to_string(random() % (random() % 2 ? 1000000 : 10000000));
        const size_t point = std::min<size_t>(random() % 7, digits.size());
        const std::string text =
            withinBuffer(random() % 2 ? "-0." + std::string(random() % 17, '0') + digits
                                      : digits.substr(0, point) + "." + digits.substr(point));
        float value = 0;
        bool sixDigits = false;
        if (!decimal::parse(text.data(), text.data() + text.size(), value, sixDigits) || !sixDigits)
            continue;
        ++kept;
        const float written = asWritten(value);
        ASSERT_EQ(std::memcmp(&value, &written, sizeof value), 0) << text;
    }
    EXPECT_GT(kept, 120000u); // most of the half of six digits or fewer
}

// Six significant digits found by arithmetic read back as the written text does, bit for bit:
// ties (kept for the text), values next to a float's halfway point, tiny, huge, negative and
// denormal values, and random floats of every exponent; a float said to be kept is (all 2^32
// were checked once, 36,285,788 of them kept).
TEST(DecimalNumbers, SixDigitsRoundAsTheWrittenTextReadsBack) {
    auto throughText = [](float value) {
        char text[32];
        const auto written =
            std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
        *written.ptr = '\0';
        return std::strtof(text, nullptr);
    };
    std::vector<float> samples = {0.0f,
                                  -0.0f,
                                  1.0f,
                                  0.1f,
                                  1e-7f,
                                  999999.5f,
                                  9999995.0f,
                                  1234565.0f,
                                  1000005.0f,
                                  0.3535535f,
                                  16777215.0f,
                                  1e15f,
                                  1e16f,
                                  1e-15f,
                                  1e-16f,
                                  3.4028235e38f,
                                  1.17549435e-38f,
                                  1e-45f,
                                  std::numeric_limits<float>::infinity(),
                                  std::numeric_limits<float>::quiet_NaN()};
    std::mt19937 random(7);
    for (int i = 0; i < 1000000; ++i) {
        const uint32_t bits = static_cast<uint32_t>(random());
        float f;
        std::memcpy(&f, &bits, sizeof f);
        samples.push_back(f);
    }
    for (uint32_t k = 100000; k < 1000000; k += 7) { // 7-digit integers ending in 5: ties
        samples.push_back(static_cast<float>(10 * k + 5));
        samples.push_back(static_cast<float>(k) / 1e6f); // six digits, kept
    }
    size_t quick = 0;
    for (const float sample : samples)
        for (const float value : {sample, -sample}) {
            const float expected = throughText(value);
            const float got = asWritten(value);
            if (std::isnan(expected)) {
                ASSERT_TRUE(std::isnan(got));
                continue;
            }
            ASSERT_EQ(std::memcmp(&expected, &got, sizeof got), 0) << value;
            if (six_digits::keptQuickly(value)) {
                ASSERT_EQ(std::memcmp(&expected, &value, sizeof value), 0) << value;
            }
            float fast = -7;
            if (six_digits::roundQuickly(value, fast)) {
                ++quick;
                ASSERT_EQ(std::memcmp(&expected, &fast, sizeof fast), 0) << value;
            }
        }
    EXPECT_GT(quick, samples.size() / 4); // most of the random floats' exponents
}

// A text of many points (read in pieces on several threads) with something wrong at line
// `badLine`; every reading must stop at the same statement with the same points.
TEST(LargeModelText, PiecesReadAsOneAfterAnother) {
    const int count = 200000; // several megabytes: read in pieces
    auto makeText = [&](int badLine, const char* bad) {
        std::string text = "cstype bezier\ndeg 3\n";
        for (int i = 0; i < count; ++i) {
            if (i == badLine) {
                text += bad;
                continue;
            }
            text += "v " + std::to_string(i) + ".25 -" + std::to_string(i % 97) + ".5 1e-3\n";
        }
        text += "surf 0 1 0 1 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\nend\n";
        return text;
    };
    struct Case {
        int line;
        const char* text;
        size_t points;
        bool partial;
        size_t stopLine = 0; // after the bad text's first line
    };
    const Case cases[] = {
        {-1, "", count, false},
        {150000, "v 1 2 x\n", 150000, true}, // a number that does not parse
        {90001, "vt 1 2 3\n", 90001, true},  // another statement
        {120000, "v 1 2\nv 4 5 6\n", 120000, true,
         1},                                 // cut short: the next line's "v" is no number
        {70000, "v 1\n2 3\n", count, false}, // numbers over two lines are one statement
        {count - 1, "\n\n   v 7 8 9  \n", count, false}, // blanks are blanks
    };
    for (const Case& c : cases) {
        Model model;
        const ObjResult r = readObj(makeText(c.line, c.text), model, nullptr);
        ASSERT_TRUE(r.ok()) << c.line;
        EXPECT_EQ(c.points, model.points.size()) << c.line;
        EXPECT_EQ(c.partial, r.partial()) << c.line;
        if (c.partial) {
            EXPECT_EQ(static_cast<size_t>(c.line) + 3 + c.stopLine, r.stop->line) << c.line;
            EXPECT_EQ(0u, model.patches.size());
        } else {
            EXPECT_EQ(1u, model.patches.size());
        }
        for (size_t i : {size_t{0}, model.points.size() / 2, model.points.size() - 1}) {
            if (static_cast<int>(i) >= c.line && c.line >= 0) continue;
            EXPECT_EQ(static_cast<float>(i) + 0.25f, model.points[i].x) << c.line << " " << i;
        }
    }
}

// The same for the patches: many plain "surf" statements, read in pieces, with grouped and
// translucent ones, a bad one, a doubled "end" and one spread over two lines among them.
TEST(LargeModelText, PlainPatchesReadInPiecesAsOneAfterAnother) {
    const int count = 120000;
    auto surf = [](int k) {
        std::string line = "surf 0 1 0 1";
        for (int i = 0; i < 16; ++i)
            line += " " + std::to_string((k + i) % 16);
        return line + "\n";
    };
    auto makeText = [&](int special, const std::string& replacement) {
        std::string text = "cstype bezier\ndeg 3\n";
        for (int i = 0; i < 16; ++i)
            text += "v " + std::to_string(i) + " 0 0\n";
        for (int k = 0; k < count; ++k) {
            text += k == special ? replacement : surf(k);
            if (k % 3 == 0) text += "end\n";
        }
        return text;
    };
    struct Case {
        int line;
        std::string text;
        size_t patches;
        bool partial;
    };
    const Case cases[] = {
        {-1, "", count, false},
        {70001, "g hull\n" + surf(70001), count, false},
        {90001, "m 0.5\n" + surf(90001), count, false},
        {100000, "surf 0 1 0 1 0 1 x 3 4 5 6 7 8 9 10 11 12 13 14 15\n", 100000, true},
        {50000, surf(50000) + "end\nend\n", 50001, true}, // 50000 is followed by its own end
        {80001, "surf 0 1 0 1 1 2 3 4 5 6 7 8\n9 10 11 12 13 14 15 0\n", count, false},
    };
    for (const Case& c : cases) {
        Model model;
        const ObjResult r = readObj(makeText(c.line, c.text), model, nullptr);
        ASSERT_TRUE(r.ok()) << c.line;
        EXPECT_EQ(c.patches, model.patches.size()) << c.line;
        EXPECT_EQ(c.partial, r.partial()) << c.line;
        for (size_t k : {size_t{0}, size_t{1}, model.patches.size() / 2, model.patches.size() - 1})
            EXPECT_EQ(static_cast<int32_t>(k % 16), model.patches[k].indices[0])
                << c.line << " " << k;
        if (c.line == 70001) {
            ASSERT_EQ(1u, model.groups.size());
            EXPECT_EQ(0, model.patches[70001].group);
            EXPECT_EQ(-1, model.patches[70002].group);
        }
        if (c.line == 90001) {
            EXPECT_EQ(0.5f, model.patches[90001].alpha);
            EXPECT_EQ(1.0f, model.patches[90002].alpha);
        }
    }
}

// Generated multi-megabyte texts with defects at random places read alike in one sequence,
// in the usual pieces on every core, and in small pieces: the same model, the same stop.
TEST(LargeModelText, PiecesAndOneSequenceAgreeOnGeneratedFiles) {
    const char* const defects[] = {"v 1 2 x\n",          "vt 0 0\n", "v 1 2\n",
                                   "surf 0 1 0 1 1 2\n", "\n\n",     "end\nend\n",
                                   "g wing\n",           "m 0.25\n", "# note\n"};
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::mt19937 random(seed);
        const int points = 60000 + static_cast<int>(random() % 40000);
        const int patches = 60000 + static_cast<int>(random() % 40000);
        const int defectAt = static_cast<int>(random() % static_cast<unsigned>(points + patches));
        const char* defect = defects[random() % std::size(defects)];
        std::string text = "cstype bezier\ndeg 3\n";
        for (int i = 0; i < points; ++i) {
            if (i == defectAt) text += defect;
            text += "v " + std::to_string(random() % 1000) + "." + std::to_string(random() % 100) +
                    " " + std::to_string(i % 13) + " -1e-2\n";
        }
        for (int k = 0; k < patches; ++k) {
            if (points + k == defectAt) text += defect;
            text += "surf 0 1 0 1";
            for (int i = 0; i < 16; ++i)
                text += " " + std::to_string(random() % static_cast<unsigned>(points));
            text += random() % 2 ? "\nend\n" : "\n";
        }
        std::string results[3];
        const size_t pieceSizes[3] = {0, obj::kDefaultPieceBytes, 4096};
        for (int way = 0; way < 3; ++way) {
            obj::setPieceBytes(pieceSizes[way]);
            Model model;
            const ObjResult r = readObj(text, model, nullptr);
            results[way] = std::to_string(static_cast<int>(r.status)) + " " +
                           (r.partial() ? std::to_string(r.stop->line) : "whole") + " " +
                           (r.ok() ? writeObj(model) : r.reason);
        }
        obj::setPieceBytes(obj::kDefaultPieceBytes);
        EXPECT_EQ(results[0], results[1]) << "seed " << seed << ", defect " << defect;
        EXPECT_EQ(results[0], results[2]) << "seed " << seed << ", defect " << defect;
    }
}

} // namespace
