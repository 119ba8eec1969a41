// Vector library against values worked out by hand.
#include <gtest/gtest.h>

#include "core/vector-math.h"

using namespace vm;

namespace {

void expectVec(Vec4 expected, Vec4 actual, float tolerance = 1e-5f) {
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
    EXPECT_NEAR(expected.w, actual.w, tolerance);
}

void expectMat(const Mat4& expected, const Mat4& actual, float tolerance = 1e-5f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(expected[r][c], actual[r][c], tolerance) << "row " << r << " col " << c;
}

} // namespace

TEST(Matrices, RowVectorProductsApplyLeftToRight) {
    // Rotate (1,0,0) a quarter turn about z to (0,1,0), then move by (1,0,0).
    Mat4 m = rotationZ(kHalfPi) * translation(1, 0, 0);
    expectVec({1, 1, 0, 1}, transform(point(1, 0, 0), m));
    // The other order moves first: (2,0,0) turned to (0,2,0).
    Mat4 n = translation(1, 0, 0) * rotationZ(kHalfPi);
    expectVec({0, 2, 0, 1}, transform(point(1, 0, 0), n));
}

TEST(Matrices, AxisRotationsTurnCounterClockwiseSeenFromThePositiveAxis) {
    expectVec({0, 0, 1, 1}, transform(point(0, 1, 0), rotationX(kHalfPi)));
    expectVec({1, 0, 0, 1}, transform(point(0, 0, 1), rotationY(kHalfPi)));
    expectVec({0, 0, -1, 1}, transform(point(1, 0, 0), rotationY(kHalfPi)));
    expectVec({-1, 0, 0, 1}, transform(point(0, 1, 0), rotationZ(kHalfPi)));
    // Directions ignore translation.
    expectVec({0, 1, 0, 0},
              transformNormal({1, 0, 0, 0}, rotationZ(kHalfPi) * translation(5, 5, 5)));
}

TEST(Matrices, RollPitchYawAppliesRollThenPitchThenYaw) {
    // (0,1,0): pitch a quarter turn about x → (0,0,1); yaw a quarter turn about y → (1,0,0).
    expectVec({1, 0, 0, 1}, transform(point(0, 1, 0), rotationRollPitchYaw(kHalfPi, kHalfPi, 0)));
    // (1,0,0): roll about z → (0,1,0); pitch → (0,0,1); yaw → (1,0,0).
    expectVec({1, 0, 0, 1},
              transform(point(1, 0, 0), rotationRollPitchYaw(kHalfPi, kHalfPi, kHalfPi)));
}

TEST(Matrices, InverseUndoesAndSingularGivesZeroDeterminant) {
    expectMat(translation(-1, -2, -3), inverse(translation(1, 2, 3)));
    Mat4 a = rotationRollPitchYaw(0.3f, -1.1f, 2.0f) * scaling(2, 3, 0.5f) * translation(4, -5, 6);
    float det = 0;
    Mat4 inv = inverse(a, &det);
    EXPECT_NEAR(3.0f, det, 1e-4f); // 2 · 3 · 0.5, rotations keep volume
    expectMat(identity(), a * inv, 1e-5f);
    expectMat(identity(), inv * a, 1e-5f);
    inverse(scaling(1, 0, 1), &det);
    EXPECT_EQ(0.0f, det);
    EXPECT_EQ(6.0f, determinant(scaling(1, 2, 3)));
}

TEST(Matrices, TransposeSwapsRowsAndColumns) {
    Mat4 t = transpose(translation(1, 2, 3));
    EXPECT_EQ(1.0f, t[0][3]);
    EXPECT_EQ(2.0f, t[1][3]);
    EXPECT_EQ(3.0f, t[2][3]);
    EXPECT_EQ(0.0f, t[3][0]);
}

TEST(Views, LookToRightHandedPutsTheTargetOnNegativeZ) {
    // Eye at (0,0,-5) looking at the origin: the origin is 5 units ahead, i.e. at z = -5.
    Mat4 v = lookAtRH(point(0, 0, -5), point(0, 0, 0), {0, 1, 0, 0});
    expectVec({0, 0, -5, 1}, transform(point(0, 0, 0), v));
    // Looking along +z in a right-handed view, +x lies to the left.
    expectVec({-1, 0, -5, 1}, transform(point(1, 0, 0), v));
    expectVec({0, 1, -5, 1}, transform(point(0, 1, 0), v));
    // Looking down from above with z as up.
    Mat4 top = lookToRH(point(0, 10, 0), {0, -1, 0, 0}, {0, 0, 1, 0});
    expectVec({0, 0, -10, 1}, transform(point(0, 0, 0), top));
    expectVec({0, 1, -10, 1}, transform(point(0, 0, 1), top));
}

TEST(Views, PerspectiveRows) {
    // fov π/2 → h = 1; aspect 2 → w = 0.5; r = far / (near − far) = 101 / −100.
    Mat4 p = perspectiveFovRH(kHalfPi, 2.0f, 1.0f, 101.0f);
    Mat4 expected;
    expected[0][0] = 0.5f;
    expected[1][1] = 1.0f;
    expected[2][2] = -1.01f;
    expected[2][3] = -1.0f;
    expected[3][2] = -1.01f;
    expectMat(expected, p);
    // A point on the near plane maps to depth 0, one on the far plane to depth 1.
    EXPECT_NEAR(0.0f, transformCoord(point(0, 0, -1), p).z, 1e-6f);
    EXPECT_NEAR(1.0f, transformCoord(point(0, 0, -101), p).z, 1e-5f);
}

TEST(Quaternions, MultiplyAppliesTheFirstOperandFirst) {
    Quat aboutX = quaternionRotationAxis({1, 0, 0, 0}, kHalfPi);
    Quat aboutY = quaternionRotationAxis({0, 1, 0, 0}, kHalfPi);
    // (0,1,0) → about x → (0,0,1) → about y → (1,0,0).
    expectVec({1, 0, 0, 1},
              transform(point(0, 1, 0), rotationQuaternion(quaternionMultiply(aboutX, aboutY))));
    // The other order: (0,1,0) is left alone by y, then x takes it to (0,0,1).
    expectVec({0, 0, 1, 1},
              transform(point(0, 1, 0), rotationQuaternion(quaternionMultiply(aboutY, aboutX))));
}

TEST(Quaternions, HalfAngleComponentsAndMatrixAgreement) {
    Quat q = quaternionRotationAxis({0, 0, 2, 0}, kHalfPi);
    expectVec({0, 0, std::sqrt(0.5f), std::sqrt(0.5f)}, q);
    expectMat(rotationZ(kHalfPi), rotationQuaternion(q));
    for (float pitch : {0.0f, 0.4f, -1.3f})
        for (float yaw : {0.0f, 2.5f, -0.7f})
            for (float roll : {0.0f, 1.1f})
                expectMat(rotationRollPitchYaw(pitch, yaw, roll),
                          rotationQuaternion(quaternionRollPitchYaw(pitch, yaw, roll)));
}

TEST(Quaternions, FromMatrixRoundTripsEveryBranch) {
    // Angles near π exercise the branches where the trace is negative.
    for (Mat4 m : {rotationX(3.0f), rotationY(3.0f), rotationZ(3.0f),
                   rotationRollPitchYaw(0.2f, 0.3f, 0.1f)})
        expectMat(m, rotationQuaternion(quaternionFromMatrix(m)));
}

TEST(Affine, ScalesThenRotatesAboutTheOriginThenTranslates) {
    Quat quarterZ = quaternionRotationAxis({0, 0, 1, 0}, kHalfPi);
    Mat4 m = affineTransformation({2, 2, 2, 0}, {1, 0, 0, 0}, quarterZ, {0, 0, 5, 0});
    // (1,0,0) → scaled (2,0,0) → relative to (1,0,0): (1,0,0) → turned (0,1,0) → back (1,1,0) →
    // (1,1,5).
    expectVec({1, 1, 5, 1}, transform(point(1, 0, 0), m));
}

TEST(Affine, DecomposeRecoversScaleRotationTranslation) {
    Quat q = quaternionRollPitchYaw(0.3f, -0.8f, 1.2f);
    Mat4 m = affineTransformation({1.5f, 2, 0.5f, 0}, {}, q, {3, -4, 5, 0});
    Vec4 s, t;
    Quat r;
    ASSERT_TRUE(decompose(m, &s, &r, &t));
    expectVec({1.5f, 2, 0.5f, 0}, s);
    expectVec({3, -4, 5, 0}, t);
    expectMat(rotationQuaternion(q), rotationQuaternion(r));
    EXPECT_FALSE(decompose(scaling(1, 0, 1), &s, &r, &t));
    // A mirror in x is carried by a negative x scale.
    ASSERT_TRUE(decompose(scaling(-1, 1, 1), &s, &r, &t));
    EXPECT_NEAR(-1.0f, s.x, 1e-6f);
    expectMat(identity(), rotationQuaternion(r));
}

TEST(RayTriangle, HitsBothFacesAtTheRightDistance) {
    Vec4 v0 = point(0, 0, 0), v1 = point(1, 0, 0), v2 = point(0, 1, 0);
    float t = -1;
    ASSERT_TRUE(rayTriangle(point(0.25f, 0.25f, -2), {0, 0, 1, 0}, v0, v1, v2, &t));
    EXPECT_NEAR(2.0f, t, 1e-6f);
    ASSERT_TRUE(rayTriangle(point(0.25f, 0.25f, 3), {0, 0, -1, 0}, v0, v1, v2, &t));
    EXPECT_NEAR(3.0f, t, 1e-6f);
}

TEST(RayTriangle, MissesOutsideBehindAndParallel) {
    Vec4 v0 = point(0, 0, 0), v1 = point(1, 0, 0), v2 = point(0, 1, 0);
    float t = 0;
    EXPECT_FALSE(rayTriangle(point(0.75f, 0.75f, -1), {0, 0, 1, 0}, v0, v1, v2, &t));
    EXPECT_FALSE(rayTriangle(point(-0.1f, 0.5f, -1), {0, 0, 1, 0}, v0, v1, v2, &t));
    EXPECT_FALSE(rayTriangle(point(0.25f, 0.25f, 1), {0, 0, 1, 0}, v0, v1, v2, &t)); // behind
    EXPECT_FALSE(rayTriangle(point(-1, 0.25f, 0), {1, 0, 0, 0}, v0, v1, v2, &t));    // in plane
}

TEST(RayTriangle, EdgesAndCornersCountAsHits) {
    Vec4 v0 = point(0, 0, 0), v1 = point(1, 0, 0), v2 = point(0, 1, 0);
    float t = 0;
    EXPECT_TRUE(rayTriangle(point(0.5f, 0.5f, -1), {0, 0, 1, 0}, v0, v1, v2, &t)); // hypotenuse
    EXPECT_TRUE(rayTriangle(point(0, 0, -1), {0, 0, 1, 0}, v0, v1, v2, &t));       // corner
    EXPECT_TRUE(rayTriangle(point(0.5f, 0, 1), {0, 0, -1, 0}, v0, v1, v2, &t)); // edge, back face
}
