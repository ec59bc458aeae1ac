// The numeric kit: vectors, matrices, the oscillator and the helpers.
#include "math/global_time.h"
#include "math/matrix4x4f.h"
#include "math/numeric.h"
#include "math/vector3f.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <set>

TEST(Vector3f, NormalizeKeepsZeroAndScalesOthers)
{
    vector3f zero;
    zero.normalize();
    EXPECT_EQ(zero, vector3f(0, 0, 0));
    vector3f v(3, 0, 4);
    v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    EXPECT_FLOAT_EQ(v.length(), 1.0f);
}

TEST(Vector3f, EqualityHasNoTolerance)
{
    EXPECT_TRUE(vector3f(1, 2, 3) == vector3f(1, 2, 3));
    EXPECT_FALSE(vector3f(1, 2, 3) == vector3f(1, 2, 3.001f));
    EXPECT_TRUE(vector3f(1, 2, 3) != vector3f(1, 2, 3.001f));
    vector3f nan(NAN, 0, 0);
    EXPECT_FALSE(nan == nan);
    EXPECT_TRUE(nan != nan);
}

TEST(Vector3f, CrossProductIsOrthogonalAndRightHanded)
{
    vector3f a(1, 2, 3), b(-4, 0.5f, 2);
    vector3f c = crossProduct(a, b);
    EXPECT_NEAR(dotProduct(a, c), 0.0f, 1e-4f);
    EXPECT_NEAR(dotProduct(b, c), 0.0f, 1e-4f);
    EXPECT_EQ(crossProduct(vector3f(1, 0, 0), vector3f(0, 1, 0)), vector3f(0, 0, 1));
    EXPECT_FLOAT_EQ(distance(vector3f(1, 1, 1), vector3f(4, 5, 1)), 5.0f);
}

TEST(Matrix4x4f, RotateAboutAxisMatchesRotateZAndKeepsTranslation)
{
    matrix4x4f m;
    m.translate(vector3f(7, 8, 9));
    vector3f axis(0, 0, 2);
    m.rotate(90, axis);
    EXPECT_EQ(axis, vector3f(0, 0, 1)) << "the caller's axis stays normalised";
    matrix4x4f z;
    z.rotate_z(90);
    for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10})
        EXPECT_NEAR(m.m[i], z.m[i], 1e-6f) << "entry " << i;
    EXPECT_EQ(m.m[12], 7.0f);
    EXPECT_EQ(m.m[13], 8.0f);
    EXPECT_EQ(m.m[14], 9.0f);
}

TEST(Matrix4x4f, SettersStartFromIdentityAndTransformsAgree)
{
    matrix4x4f m;
    m.translate(vector3f(10, 0, 0));
    m.scale(vector3f(2, 2, 2));
    EXPECT_EQ(m.m[12], 0.0f) << "scale forgets the earlier translation";
    m.translate(vector3f(10, 0, 0));
    vector3f p(1, 2, 3), v(1, 2, 3);
    m.transformPoint(&p);
    m.transformVector(&v);
    EXPECT_EQ(p, vector3f(11, 2, 3));
    EXPECT_EQ(v, vector3f(1, 2, 3));
}

TEST(Matrix4x4f, ProductComposesTransforms)
{
    matrix4x4f t, r;
    t.translate(vector3f(5, 0, 0));
    r.rotate_z(90);
    vector3f p(1, 0, 0);
    (t * r).transformPoint(&p); // rotate first, then translate
    EXPECT_NEAR(p.x, 5.0f, 1e-5f);
    EXPECT_NEAR(p.y, 1.0f, 1e-5f);
    matrix4x4f paper(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(paper.m[4], 2.0f) << "row 0, column 1";
    EXPECT_EQ(paper.m[1], 5.0f) << "row 1, column 0";
    matrix4x4f sum = paper + paper - paper * 2.0f;
    for (float e : sum.m)
        EXPECT_EQ(e, 0.0f);
}

TEST(Oscillator, StartsAtMidpointPeaksAtQuarterAndWrapsPhase)
{
    Oscillator o(0, 1, 1);
    EXPECT_FLOAT_EQ(o.signal(), 0.5f);
    global_time = 0.125f;
    o.simulate();
    o.simulate();
    EXPECT_NEAR(static_cast<float>(o), 1.0f, 1e-6f);
    global_time = 0.1f;
    for (int i = 0; i < 1000; ++i) {
        o.simulate();
        ASSERT_LE(o.wave_fac, 360.0f);
    }
    global_time = 0.0f;
}

TEST(NumericHelpers, RatesAndInterpolation)
{
    EXPECT_FLOAT_EQ(GetRate(5, 10), 50.0f);
    EXPECT_FLOAT_EQ(GetRate(15, 10), 100.0f);
    EXPECT_FLOAT_EQ(GetRate(-1, 10), 0.0f);
    EXPECT_FLOAT_EQ(GetRate(1, 0), 100.0f);
    EXPECT_FLOAT_EQ(RateInterpole(10, 20, 50), 15.0f);
    EXPECT_FLOAT_EQ(RateInterpole(10, 20, 150), 25.0f);
    EXPECT_EQ(proportional(4, 8, 3), 6);
}

TEST(NumericHelpers, ChanceIsClampedToCertainties)
{
    for (int i = 0; i < 500; ++i) {
        ASSERT_FALSE(Chance(-5));
        ASSERT_FALSE(Chance(0));
        ASSERT_TRUE(Chance(250));
        ASSERT_TRUE(Chance(100));
    }
}

TEST(NumericHelpers, RandIntervalStaysOnItsGrid)
{
    EXPECT_EQ(rand_intvf(3.5f, 3.5f, 10), 3.5f);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        float r = rand_intvf(0, 1, 10);
        ASSERT_GE(r, 0.0f);
        ASSERT_LE(r, 1.0f);
        float tenths = r * 10.0f;
        ASSERT_NEAR(tenths, std::round(tenths), 1e-4f);
        seen.insert(static_cast<int>(std::lround(tenths)));
    }
    EXPECT_EQ(seen.size(), 11u) << "every step from 0 to 1.0 comes up";
    // A reversed range or a bad step has no values to choose from but its start.
    EXPECT_EQ(rand_intvf(5, 2, 1), 5.0f);
    EXPECT_EQ(rand_intvf(1, 2, 0), 1.0f);
    EXPECT_EQ(rand_intvf(1, 2, -3), 1.0f);
}

TEST(NumericHelpers, GeometryHelpers)
{
    EXPECT_FLOAT_EQ(SlopeV3F(vector3f(1, 0, 0), vector3f(0, 1, 0)), 90.0f);
    EXPECT_FLOAT_EQ(SlopeV3F(vector3f(0, 1, 0), vector3f(1, 0, 0)), 270.0f);
    EXPECT_TRUE(OppositeSign(0, -1));
    EXPECT_FALSE(OppositeSign(0, 0));
    EXPECT_FALSE(OppositeSign(NAN, -1));
    EXPECT_FLOAT_EQ(GetDistanceBetween(0, 0, 0, 2, 3, 6), 7.0f);
    EXPECT_DOUBLE_EQ(ConvertDAM(1, 0, 1900, 1, 1), 1.0 + 60.0 + 24.0 * 60.0);
}

TEST(NumericHelpers, SegmentAgainstTriangle)
{
    vector3f A(0, 0, 0), B(4, 0, 0), C(0, 4, 0), X(99, 99, 99);
    EXPECT_TRUE(GetIntersectionBetweenSegmentTriangle(A, B, C, vector3f(1, 1, -1), vector3f(1, 1, 1), X));
    EXPECT_NEAR(X.x, 1.0f, 1e-5f);
    EXPECT_NEAR(X.y, 1.0f, 1e-5f);
    EXPECT_NEAR(X.z, 0.0f, 1e-5f);
    // Crossing the plane outside the triangle keeps the point but answers false.
    EXPECT_FALSE(GetIntersectionBetweenSegmentTriangle(A, B, C, vector3f(5, 5, -1), vector3f(5, 5, 1), X));
    EXPECT_NEAR(X.x, 5.0f, 1e-5f);
    // A segment that stays on one side never writes the point.
    X = vector3f(99, 99, 99);
    EXPECT_FALSE(GetIntersectionBetweenSegmentTriangle(A, B, C, vector3f(1, 1, 1), vector3f(1, 1, 2), X));
    EXPECT_EQ(X, vector3f(99, 99, 99));
    // One end exactly on the plane counts as crossing it.
    vector3f p(1, 1, 0), q(1, 1, 5);
    EXPECT_TRUE(SegmentPlaneIntersect(p, q, A, B, C));
    // A segment lying in the plane has no single crossing point.
    EXPECT_FALSE(GetIntersectionBetweenSegmentTriangle(A, B, C, vector3f(1, 1, 0), vector3f(2, 1, 0), X));
}
