// Exact exchange with CAD files: the exporters' texts read back by the importer to the same
// surfaces, B-spline surfaces cut into their Bezier patches, and what is refused whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "model/bezier-surface.h"
#include "model/bspline-patches.h"
#include "model/cad-export.h"
#include "model/cad-import.h"

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
