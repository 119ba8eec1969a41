// Exact exchange with CAD files: the exporters' texts read back by the importer to the same
// surfaces, B-spline surfaces cut into their Bezier patches, and what is refused whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/file-replace.h"

#include "model/batch-conversion.h"
#include "model/bezier-surface.h"
#include "model/bspline-patches.h"
#include "model/cad-export.h"
#include "model/cad-import.h"
#include "model/knot-tolerance.h"
#include "model/line-count.h"
#include "model/patch-import.h"

namespace {

std::string written(const Model& model, bool iges) {
    std::FILE* file = std::tmpfile();
    EXPECT_TRUE(iges ? cad::writeIges(model, "band.igs", file)
                     : cad::writeStep(model, "band.step", file));
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

BSplineSurface singleSpan(const std::array<vm::Float3, 16>& net) {
    BSplineSurface s;
    s.countU = s.countV = 4;
    s.knotsU = s.knotsV = {0, 0, 0, 0, 1, 1, 1, 1};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            const vm::Float3 p = net[static_cast<size_t>(4 * r + c)];
            s.points.push_back({p.x, p.y, p.z});
        }
    return s;
}

// Entity 128's parameters for any bicubic surface (points with u varying fastest).
std::string entity128(const BSplineSurface& s) {
    auto real = [](double v) {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g,", v);
        return std::string(text);
    };
    std::string p = "128," + std::to_string(s.countU - 1) + "," + std::to_string(s.countV - 1) +
                    ",3,3,0,0,1,0,0,";
    for (const auto* knots : {&s.knotsU, &s.knotsV})
        for (double k : *knots)
            p += real(k);
    for (size_t w = 0; w < s.points.size(); ++w)
        p += "1.,";
    for (int iv = 0; iv < s.countV; ++iv)
        for (int iu = 0; iu < s.countU; ++iu)
            for (double c : s.points[static_cast<size_t>(iu * s.countV + iv)])
                p += real(c);
    for (double r : {s.u0, s.u1, s.v0, s.v1})
        p += real(r);
    p.back() = ';';
    return p;
}

// An IGES file of entities given by their type, parameters and label.
struct IgesEntity {
    int type;
    std::string parameters, label;
};
std::string igesText(const std::vector<IgesEntity>& entities) {
    auto line = [](const std::string& data, char section, size_t sequence) {
        char text[96];
        std::snprintf(text, sizeof text, "%-72.72s%c%07zu\n", data.c_str(), section, sequence);
        return std::string(text);
    };
    std::string directory, parameters;
    size_t d = 0, p = 0;
    for (const IgesEntity& e : entities) {
        const size_t first = p + 1, entry = d + 1;
        for (size_t at = 0; at < e.parameters.size(); at += 64) {
            char text[96];
            std::snprintf(text, sizeof text, "%-64.64s %7zu", e.parameters.substr(at, 64).c_str(),
                          entry);
            parameters += line(text, 'P', ++p);
        }
        char a[96], b[96];
        std::snprintf(a, sizeof a, "%8d%8zu%8d%8d%8d%8d%8d%8d%8s", e.type, first, 0, 0, 0, 0, 0, 0,
                      "00000000");
        std::snprintf(b, sizeof b, "%8d%8d%8d%8zu%8d%8s%8s%8s%8d", e.type, 0, 0, p + 1 - first, 0,
                      "", "", e.label.c_str(), 0);
        directory += line(a, 'D', d + 1) + line(b, 'D', d + 2);
        d += 2;
    }
    char counts[40];
    std::snprintf(counts, sizeof counts, "S0000001G0000001D%07zuP%07zu", d, p);
    return line("test", 'S', 1) + line("1H,,1H;;", 'G', 1) + directory + parameters +
           line(counts, 'T', 1);
}

// A surface of count × 4 points over the knots given along u.
BSplineSurface sheet(std::vector<double> knotsU) {
    BSplineSurface s;
    s.countU = static_cast<int>(knotsU.size()) - 4;
    s.countV = 4;
    s.knotsU = std::move(knotsU);
    s.knotsV = {0, 0, 0, 0, 1, 1, 1, 1};
    for (int iu = 0; iu < s.countU; ++iu)
        for (int iv = 0; iv < 4; ++iv)
            s.points.push_back({double(iu), double(iv), double((iu * 7 + iv * 3) % 5) / 4});
    s.u0 = s.knotsU[3];
    s.u1 = s.knotsU[static_cast<size_t>(s.countU)];
    return s;
}

std::string exportedText(const Model& model, cad::Format format, const char* name) {
    const std::string path = testing::TempDir() + name;
    std::string reason, text;
    EXPECT_TRUE(cad::exportSurfaces(model, format, path, reason)) << reason;
    EXPECT_TRUE(readFileContents(path, text));
    std::remove(path.c_str());
    return text;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
}

} // namespace

TEST(CadExchange, ExportsReadBackToTheSameSurfacesAndSpansCutExactly) {
    Model band;
    band.createDefault();
    band.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    band.patches[1].group = 0; // a mirror image more
    for (bool iges : {true, false}) {
        const std::string text = written(band, iges);
        ASSERT_TRUE(isCadText(text));
        Model back;
        const ImportResult r = importCadSurfaces(text, back);
        ASSERT_TRUE(r.ok) << r.reason;
        ASSERT_EQ(5u, back.patches.size());
        const std::vector<cad::Surface> surfaces = cad::surfacesOf(band);
        for (size_t p = 0; p < 5; ++p) {
            const auto read = bezier::controlPoints(back, back.patches[p]);
            for (size_t k = 0; k < 16; ++k) // the same floats (−0 reads back as 0)
                EXPECT_TRUE(surfaces[p].net[k].x == read[k].x &&
                            surfaces[p].net[k].y == read[k].y && surfaces[p].net[k].z == read[k].z)
                    << (iges ? "IGES " : "STEP ") << p << " point " << k;
        }
    }
    EXPECT_EQ("1.", cad::realText(1));
    EXPECT_EQ("-2.5E-07", cad::realText(-2.5e-7f));

    // One span over part of its range: exactly that part of the patch.
    const auto net = bezier::controlPoints(band, band.patches[0]);
    BSplineSurface s = singleSpan(net);
    s.u0 = 0.2, s.u1 = 0.7;
    std::string why;
    const auto pieces = bezierPatches(s, why);
    ASSERT_EQ(1u, pieces.size());
    for (float u : {0.0f, 0.3f, 1.0f})
        for (float v : {0.0f, 0.6f}) {
            const vm::Float3 a = bezier::evaluate(pieces[0], u, v);
            const vm::Float3 b = bezier::evaluate(net, 0.2f + 0.5f * u, v);
            EXPECT_NEAR(a.x, b.x, 1e-5f);
            EXPECT_NEAR(a.y, b.y, 1e-5f);
            EXPECT_NEAR(a.z, b.z, 1e-5f);
        }
    s.knotsU = {0, 0, 0, 1, 1, 1, 1, 1}; // a knot less than the points need: refused
    EXPECT_TRUE(bezierPatches(s, why).empty());
}

TEST(CadExchange, RationalOtherDegreesAndOtherSurfacesAreRefusedWhole) {
    Model band;
    band.createDefault();
    std::string iges = written(band, true);
    // A weight of the first surface changed: a rational surface. (Twelve ones in a row are
    // weights from the fifth on: at most four knots of 1 come before them.)
    const size_t ones = iges.find("1.,1.,1.,1.,1.,1.,1.,1.,1.,1.,1.,1.,");
    ASSERT_NE(std::string::npos, ones);
    std::string rational = iges;
    rational.replace(ones + 27, 2, "2.");
    Model model;
    ImportResult r = importCadSurfaces(rational, model);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(std::string::npos, r.reason.find("rational")) << r.reason;
    EXPECT_TRUE(model.patches.empty() && model.points.empty());
    std::string quadratic = iges;
    quadratic.replace(iges.find("128,3,3,3,3"), 11, "128,3,3,2,3");
    r = importCadSurfaces(quadratic, model);
    EXPECT_NE(std::string::npos, r.reason.find("degree 2")) << r.reason;

    std::string step = written(band, false);
    step.insert(step.find("ENDSEC;", step.find("DATA;")), "#99=PLANE('',#11);\n");
    r = importCadSurfaces(step, model);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(std::string::npos, r.reason.find("#99 is a PLANE")) << r.reason;
}

TEST(CadExchange, StepIsReadAsStepIsWritten) {
    Model band;
    band.createDefault();
    const std::string step = written(band, false);
    Model model;
    // Whitespace between tokens, as OpenCASCADE writes it.
    std::string spaced = step;
    replaceAll(spaced, "=B_SPLINE_SURFACE_WITH_KNOTS(", " = B_SPLINE_SURFACE_WITH_KNOTS (");
    replaceAll(spaced, "=CARTESIAN_POINT(", " =\n CARTESIAN_POINT ( ");
    ImportResult r = importCadSurfaces(spaced, model);
    EXPECT_TRUE(r.ok && model.patches.size() == 4) << r.reason;

    // The complex form of a rational surface: equal weights import, unequal ones are refused.
    const size_t at = step.find("#100=B_SPLINE_SURFACE_WITH_KNOTS(");
    const size_t points = step.find("3,3,(", at) + 4;
    const std::string net = step.substr(points, step.find(",.UNSPECIFIED.", at) - points);
    for (const char* weight : {"2.", "3."}) {
        const std::string complex =
            "#100 = ( BOUNDED_SURFACE() B_SPLINE_SURFACE(3,3," + net +
            ",.UNSPECIFIED.,.F.,.F.,.F.)\nB_SPLINE_SURFACE_WITH_KNOTS((4,4),(4,4),(\n0.,1.),(0.,1.)"
            ","
            ".PIECEWISE_BEZIER_KNOTS.) GEOMETRIC_REPRESENTATION_ITEM() RATIONAL_B_SPLINE_SURFACE((("
            "2.,2.,2.,2.),(2.,2.,2.,2.),(2.,2.,2.,2.),(2.,2.,2.," +
            weight + "))) REPRESENTATION_ITEM('') SURFACE() );";
        std::string rational = step;
        rational.replace(at, step.find(";\n", at) + 1 - at, complex);
        r = importCadSurfaces(rational, model);
        if (weight == std::string("2."))
            EXPECT_TRUE(r.ok && model.patches.size() == 4) << r.reason;
        else
            EXPECT_EQ(0u, r.reason.find("#100 is rational")) << r.reason;
    }
    // Comments between tokens are left out, right after text kept in place too.
    std::string commented = step;
    replaceAll(commented, "=CARTESIAN_POINT('',(", "/* n */=CARTESIAN_POINT('',/* c */(");
    replaceAll(commented, "3,3,((#", "3,3,/**/((#");
    r = importCadSurfaces(commented, model);
    EXPECT_TRUE(r.ok && model.patches.size() == 4) << r.reason;

    std::string plane = step;
    plane.insert(plane.find("#100="), "#99 = PLANE ( '', #11 ) ;\n");
    r = importCadSurfaces(plane, model);
    EXPECT_EQ(0u, r.reason.find("#99 is a PLANE")) << r.reason;

    // Strings and comments never end a statement or a section; names come back as written.
    band.groups.push_back(std::make_unique<Model::Group>("BLENDSECTION;"));
    band.groups.push_back(std::make_unique<Model::Group>("it's\\n\xC3\xA9\xF0\x9D\x84\x9E"));
    band.patches[0].group = 0, band.patches[1].group = 1;
    std::string named = written(band, false);
    EXPECT_NE(std::string::npos, named.find("'it''s\\\\n\\X2\\00E9D834DD1E\\X0\\'"));
    named.insert(named.find("'2;1'"), "'DATA; /* ''ENDSEC;'' */',");
    named.insert(named.find("#100="), "/* ENDSEC; 'DATA; */");
    r = importCadSurfaces(named, model);
    ASSERT_TRUE(r.ok && model.patches.size() == 4 && model.groups.size() == 2) << r.reason;
    EXPECT_EQ(band.groups[0]->name, model.groups[0]->name);
    EXPECT_EQ(band.groups[1]->name, model.groups[1]->name);
}

TEST(CadExchange, StepNumbersNameOneInstanceWhateverItsForm) {
    Model band;
    band.createDefault();
    const std::string step = written(band, false);
    const size_t end = step.find("ENDSEC;", step.find("DATA;"));
    Model model;
    // A number used twice is said whichever forms the two are written in.
    const std::pair<const char*, const char*> twice[] = {
        {"#101=CARTESIAN_POINT('',(1.,2.,3.));", "#101"},
        {"#101 = CARTESIAN_POINT('',(1.,2.,3.));", "#101"},
        {"#100=CARTESIAN_POINT('',(1.,2.,3.));", "#100"},
        {"#1=CARTESIAN_POINT('',(1.,2.,3.));", "#1"}};
    for (const auto& [statement, number] : twice) {
        std::string text = step;
        text.insert(end, std::string(statement) + "\n");
        EXPECT_EQ(std::string(number) + " names two instances",
                  importCadSurfaces(text, model).reason);
    }
    // A surface's points written plainly and spaced read alike.
    std::string mixed = step;
    for (size_t at = mixed.find("=CARTESIAN_POINT("), k = 0; k < 8;
         at = mixed.find("=CARTESIAN_POINT(", at + 3), ++k)
        mixed.replace(at, 1, " = ");
    const ImportResult r = importCadSurfaces(mixed, model);
    EXPECT_TRUE(r.ok && model.patches.size() == 4) << r.reason;
}

TEST(CadExchange, OtherSurfacesAreSaidAndRangesCutAlikeInBothFormats) {
    BSplineSurface s = sheet({0, 0, 0, 0, 1, 1, 1, 1});
    Model model;
    ImportResult r = importCadSurfaces(igesText({{128, entity128(s), ""},
                                                 {120, "120,1,2,0.,1.;", ""},
                                                 {108, "108,0.,0.,1.,0.,0,0.,0.,0.,0.;", ""}}),
                                       model);
    EXPECT_EQ("entity 120 at directory line 3 is a surface of revolution: only bicubic B-spline "
              "surfaces (entity 128) are read, and the file holds 2 surfaces of other kinds (1 of "
              "entity 108, 1 of entity 120)",
              r.reason);
    // The same cut in IGES (its own range) and STEP (a RECTANGULAR_TRIMMED_SURFACE); a
    // surface over all of its range is not counted as cut.
    r = importCadSurfaces(igesText({{128, entity128(s), ""}}), model);
    EXPECT_TRUE(r.ok && r.piecesCut == 0) << r.reason;
    s.u1 = 0.5;
    r = importCadSurfaces(igesText({{128, entity128(s), ""}}), model);
    ASSERT_TRUE(r.ok && r.piecesCut == 1 && model.patches.size() == 1) << r.reason;
    const auto igesCut = bezier::controlPoints(model, model.patches[0]);
    Model band;
    band.createDefault();
    band.patches.resize(1);
    for (size_t k = 0; k < 16; ++k) {
        const auto& p = s.points[(k % 4) * 4 + k / 4];
        band.points[static_cast<size_t>(band.patches[0].indices[k])] = {float(p[0]), float(p[1]),
                                                                        float(p[2])};
    }
    std::string step = written(band, false);
    step.replace(step.find("(#100)"), 6, "(#98)"); // the set holds the cut, not the surface
    step.insert(step.find("#100="),
                "#98=RECTANGULAR_TRIMMED_SURFACE('',#100,0.,0.5,0.,1.,.T.,.T.);\n");
    r = importCadSurfaces(step, model);
    ASSERT_TRUE(r.ok && r.piecesCut == 1 && model.patches.size() == 1) << r.reason;
    const auto stepCut = bezier::controlPoints(model, model.patches[0]);
    for (size_t k = 0; k < 16; ++k)
        EXPECT_TRUE(igesCut[k].x == stepCut[k].x && igesCut[k].y == stepCut[k].y &&
                    igesCut[k].z == stepCut[k].z)
            << k;
    // OpenCASCADE's face on part of a surface: its edges along constant u and v are the part.
    std::string drawn;
    ASSERT_TRUE(
        readFileContents(TAVREL_SOURCE_DIR "/tests/fuzz/import-corpus/face-on-part.step", drawn));
    r = importCadSurfaces(drawn, model);
    EXPECT_TRUE(r.ok && r.piecesCut == 1 && r.format == "STEP") << r.reason << r.format;
    // A face on a surface the file does not hold loses it: refused, not counted as imported.
    const size_t face = drawn.find("ADVANCED_FACE"), on = drawn.find("),#", face) + 2;
    drawn.replace(on, drawn.find(',', on) - on, "#999999");
    r = importCadSurfaces(drawn, model);
    EXPECT_NE(std::string::npos, r.reason.find("face on #999999, which the file does not hold"))
        << r.reason;
}

TEST(CadExchange, KnotsWithinABillionthOfTheRangeAreOne) {
    Model model;
    BSplineSurface s = sheet({0, 0, 0, 0, 1, 1, 1, 1});
    s.u1 = 1 + 1e-12; // a rounding past the last knot: the whole surface
    ImportResult r = importCadSurfaces(igesText({{128, entity128(s), ""}}), model);
    EXPECT_TRUE(r.ok && r.piecesCut == 0 && model.patches.size() == 1) << r.reason;
    // Knots a rounding apart are one: two patches, not a sliver between them.
    r = importCadSurfaces(
        igesText({{128, entity128(sheet({0, 0, 0, 0, 0.5, 0.5 + 1e-12, 1, 1, 1, 1})), ""}}), model);
    EXPECT_TRUE(r.ok && model.patches.size() == 2) << r.reason;
    BSplineSurface end = sheet({0, 0, 0, 0, 1 - 1e-12, 1, 1, 1, 1});
    normaliseKnots(end);
    std::string why;
    EXPECT_EQ(1u, bezierPatches(end, why).size()) << why;
}

TEST(CadExchange, ExportsOtherProgramsReadRight) {
    Model band;
    band.createDefault();
    // A file name past the global section's line continues on the next: the units follow it.
    const std::string name(80, 'n');
    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(cad::writeIges(band, "folder/" + name + ".igs", file));
    std::rewind(file);
    std::string global;
    for (char line[128]; std::fgets(line, sizeof line, file);) {
        ASSERT_EQ(81u, std::strlen(line));
        if (line[72] == 'G') global.append(line, 72);
    }
    EXPECT_NE(std::string::npos, global.find(",84H" + name + ".igs,"));
    EXPECT_NE(std::string::npos, global.find(",1.,2,2HMM,"));
    // Past the sequence numbers' digits: refused before anything is written.
    std::rewind(file);
    std::string why;
    EXPECT_FALSE(cad::writeIges(band, "band.igs", file, &why, 20));
    EXPECT_NE(std::string::npos, why.find("at most 20 lines")) << why;
    EXPECT_EQ(0, std::ftell(file));
    std::fclose(file);

    // Patches in no group stay in none through free-form OBJ; labels keep whole characters.
    band.groups.push_back(std::make_unique<Model::Group>("a\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"));
    band.patches[1].group = 0;
    Model back;
    ImportResult r = importPatches(exportedText(band, cad::Format::FreeFormObj, "free.obj"), back);
    ASSERT_TRUE(r.ok && back.groups.size() == 1) << r.reason << back.groups.size();
    EXPECT_TRUE(back.patches[0].group == -1 && back.patches[1].group == 0);
    r = importPatches(exportedText(band, cad::Format::Iges, "labels.igs"), back);
    ASSERT_TRUE(r.ok && back.groups.size() == 1) << r.reason;
    EXPECT_EQ("a\xC3\xA9\xC3\xA9\xC3\xA9", back.groups[0]->name);
}

TEST(CadExchange, OddFilesAreReadWholeOrRefusedWhole) {
    Model band, model;
    band.createDefault();
    for (bool iges : {true, false}) { // cut short at every 7th byte
        const std::string text = written(band, iges);
        for (size_t size = 7; size < text.size(); size += 7) {
            const bool ok = importCadSurfaces(text.substr(0, size), model).ok;
            EXPECT_EQ(ok ? 4u : 0u, model.patches.size()) << size;
        }
    }
    // STEP: a number names one instance (past long's range it aliased another); +3 is 3.
    const std::string step = written(band, false);
    for (const auto& [from, to] : {std::pair{"#101=", "#101=CARTESIAN_POINT('',(9.,9.,9.));#101="},
                                   {"#101", "#99999999999999999999"},
                                   {",3,3,(", ",+3,3,("}}) {
        std::string odd = step;
        replaceAll(odd, from, to);
        const ImportResult r = importCadSurfaces(odd, model);
        EXPECT_TRUE(to[0] == '#' ? r.reason.find(std::string(to, 4)) == 0 : r.ok) << r.reason;
    }
    // IGES numbers as other programs write them (a D exponent, a sign, spaces around) read
    // alike; what is no number is refused.
    const std::string plain = entity128(sheet({0, 0, 0, 0, 1, 1, 1, 1}));
    for (const char* weight : {"+1.0D0,", " 1.d0 ,", "10.E-1,", "1.x,"}) {
        std::string odd = plain;
        replaceAll(odd, "1.,", weight);
        const ImportResult r = importCadSurfaces(igesText({{128, odd, ""}}), model);
        EXPECT_EQ(weight[2] != 'x', r.ok) << weight << r.reason;
    }
    // IGES: a record delimiter after the default parameter delimiter; a directory line lost; a
    // trimmed surface moved by its matrix (entity 124 at line 5) moves its surface.
    std::string hash = entity128(sheet({0, 0, 0, 0, 1, 1, 1, 1}));
    hash.back() = '#';
    std::string iges = igesText({{128, hash, ""}});
    iges.replace(iges.find("1H,,1H;;"), 8, ",1H#,#  ");
    EXPECT_TRUE(importCadSurfaces(iges, model).ok);
    iges = written(band, true);
    iges.erase(iges.find("D0000008\n") - 72, 81);
    EXPECT_EQ(0u, importCadSurfaces(iges, model).reason.find("its directory (D) section has 7"));
    iges = igesText({{144, "144,3,0,0,0;", ""},
                     {128, entity128(sheet({0, 0, 0, 0, 1, 1, 1, 1})), ""},
                     {124, "124,1.,0.,0.,10.,0.,1.,0.,0.,0.,0.,1.,0.;", ""}});
    iges.replace(iges.find("D0000001") - 24, 8, "       5");
    EXPECT_EQ(0u, importCadSurfaces(iges, model)
                      .reason.find("entity 144 at directory line 1 is "
                                   "placed by a transformation"));
}

// Surfaces are converted on every core a batch at a time: any batch size reads the same
// model, and of two bad surfaces the refusal names the first in the file.
TEST(CadExchange, BatchesReadAsOneAfterAnother) {
    Model sheet;
    sheet.createDefault();
    for (int copy = 1; copy < 9; ++copy) // 36 patches, sharing their corners in fours
        for (size_t p = 0; p < 4; ++p) {
            Model::Patch moved = sheet.patches[p];
            for (int32_t& index : moved.indices) {
                vm::Float3 q = sheet.points[static_cast<size_t>(index)];
                q.z += static_cast<float>(copy);
                sheet.points.push_back(q);
                index = static_cast<int32_t>(sheet.points.size() - 1);
            }
            sheet.patches.push_back(moved);
        }
    for (bool iges : {true, false}) {
        const std::string good = written(sheet, iges);
        // Surfaces of degree 2 in u: the 11th, then the 30th as well.
        const std::string cubic = iges ? "128,3,3,3,3," : ",3,3,(";
        const std::string quadratic = iges ? "128,3,3,2,3," : ",2,3,(";
        auto lowered = [&](std::string text, int nth) {
            size_t at = 0;
            for (int k = 0; k < nth; ++k)
                at = text.find(cubic, at) + 1;
            return text.replace(at - 1, cubic.size(), quadratic);
        };
        const std::string eleventh = lowered(good, 11), both = lowered(eleventh, 30);
        Model whole, batched;
        batches::setItems(1000);
        ASSERT_TRUE(importCadSurfaces(good, whole).ok);
        const std::string first = importCadSurfaces(eleventh, batched).reason;
        ASSERT_FALSE(first.empty());
        for (size_t items : {1, 3, 64}) {
            batches::setItems(items);
            ASSERT_TRUE(importCadSurfaces(good, batched).ok);
            ASSERT_EQ(whole.points.size(), batched.points.size());
            EXPECT_EQ(0, std::memcmp(whole.points.data(), batched.points.data(),
                                     whole.points.size() * sizeof(vm::Float3)));
            for (size_t p = 0; p < whole.patches.size(); ++p)
                EXPECT_EQ(whole.patches[p].indices, batched.patches[p].indices) << p;
            EXPECT_EQ(first, importCadSurfaces(both, batched).reason) << items;
        }
        batches::setItems(0);
    }
}

// The quick paths (instances in order, a plain grid of references, parameter lines where the
// directory points) read what the general ones read, and hand what they cannot to them.
TEST(CadExchange, IrregularFilesReadAsRegularOnes) {
    Model band, model, irregular;
    band.createDefault();
    auto same = [](const Model& a, const Model& b) {
        return a.points.size() == b.points.size() && a.patches.size() == b.patches.size() &&
               std::memcmp(a.points.data(), b.points.data(),
                           a.points.size() * sizeof(vm::Float3)) == 0;
    };
    // STEP's instances written last to first, and a surface's grid with a short row.
    const std::string step = written(band, false);
    const size_t data = step.find("DATA;\n") + 6, end = step.find("ENDSEC;\n", data);
    std::string reversed;
    for (size_t at = end; at > data;) {
        const size_t from = step.rfind('\n', at - 2) + 1;
        reversed += step.substr(from, at - from);
        at = from;
    }
    ASSERT_TRUE(importCadSurfaces(step, model).ok);
    ASSERT_TRUE(
        importCadSurfaces(step.substr(0, data) + reversed + step.substr(end), irregular).ok);
    EXPECT_TRUE(same(model, irregular));
    std::string shortRow = step;
    shortRow.erase(shortRow.find(",#105,", shortRow.find("#100=")), 5);
    EXPECT_EQ("#100: its rows of points differ in length",
              importCadSurfaces(shortRow, irregular).reason);
    // IGES entries pointing a line past their parameters.
    std::string iges = written(band, true);
    ASSERT_TRUE(importCadSurfaces(iges, model).ok);
    for (size_t at = iges.find("     128"); at != std::string::npos;
         at = iges.find("\n     128", at + 1))
        iges[at + 15 + (iges[at] == '\n')] += 1;
    ASSERT_TRUE(importCadSurfaces(iges, irregular).ok);
    EXPECT_TRUE(same(model, irregular));
}

// What a file cannot hold is said, never read past: a pole too large for the model's floats
// (STEP and IGES), a set naming a surface the file lacks, statements that are no instances,
// a free-form OBJ cut inside its last surface, and files of no bytes or of 16-byte lines.
TEST(CadExchange, DamageAndPointsPastTheWorkingRangeAreSaid) {
    Model band, model;
    band.createDefault();
    for (bool iges : {true, false}) {
        std::string huge = written(band, iges);
        replaceAll(huge, iges ? "1.,0.5,0.," : "(1.,0.5,0.)", // in place: IGES has columns
                   iges ? "1.,9E99,0," : "(1.,9.E99,0.)");
        const ImportResult r = importCadSurfaces(huge, model);
        EXPECT_NE(std::string::npos, r.reason.find("outside the working range")) << r.reason;
    }
    std::string step = written(band, false);
    std::string lacking = step;
    lacking.erase(lacking.find("#117=B_SPLINE"), lacking.find(";", lacking.find("#117=B_SPLINE")) -
                                                     lacking.find("#117=B_SPLINE") + 1);
    EXPECT_EQ("#11 names #117, which the file does not hold: it may be cut short or damaged",
              importCadSurfaces(lacking, model).reason);
    replaceAll(step, "ENDSEC;\nEND-ISO", "no instance;\n#x;\nENDSEC;\nEND-ISO");
    const ImportResult stray = importCadSurfaces(step, model);
    EXPECT_TRUE(stray.ok && stray.skipped == 2) << stray.reason;

    std::string obj = exportedText(band, cad::Format::FreeFormObj, "free.obj");
    ASSERT_TRUE(importPatches(obj, model).ok);
    obj.resize(obj.find('\n', obj.rfind("\nsurf ") + 1) - 1); // its last number cut
    EXPECT_NE(std::string::npos, importPatches(obj, model).reason.find("may be cut short"));
    std::string lines;
    for (int k = 0; k < 300; ++k)
        lines += "# fifteen bytes\n";
    EXPECT_EQ(301u, lineCount(lines));
    EXPECT_FALSE(importPatches(std::string_view(), model).ok);
}
