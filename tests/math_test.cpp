// The numeric kit: the helpers the game's rules stand on, and one small table
// for the rest of the kit.
#include "math/global_time.h"
#include "math/matrix4x4f.h"
#include "math/numeric.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>

TEST(Numeric, RatesInterpolationAndChance)
{
    EXPECT_TRUE(GetRate(5, 10) == 50 && GetRate(15, 10) == 100 && GetRate(-1, 10) == 0 && GetRate(1, 0) == 100);
    EXPECT_TRUE(RateInterpole(10, 20, 50) == 15 && RateInterpole(10, 20, 150) == 25 && RateInterpole(1.5f, 0, 50) == 0.75f);
    const std::pair<int, double> chances[] = {{-5, 0}, {0, 0}, {25, 0.25}, {50, 0.5}, {100, 1}, {250, 1}};
    for (auto [rate, expected] : chances) {
        int hits = 0;
        for (int i = 0; i < 4000; ++i)
            hits += Chance(rate);
        EXPECT_NEAR(hits / 4000.0, expected, expected == 0 || expected == 1 ? 0.0 : 0.05) << "Chance(" << rate << ")";
    }
}

// Every range the game draws from stays on its grid, and small ones come up whole.
TEST(Numeric, RandomIntervalsOfTheGame)
{
    const float ranges[][3] = {{12, 500, 1}, {1, 10, 10}, {0, 29, 1}, {1, 6, 10}, {12, 180, 1}, {-20, 20, 10}};
    for (const auto& r : ranges) {
        std::set<long> seen;
        for (int i = 0; i < 20000; ++i) {
            const float v = rand_intvf(r[0], r[1], r[2]), steps = (v - r[0]) * r[2];
            ASSERT_TRUE(v >= r[0] && v <= r[1] && std::fabs(steps - std::round(steps)) < 1e-3f) << v;
            seen.insert(std::lround(steps));
        }
        const long values = std::lround((r[1] - r[0]) * r[2]) + 1;
        EXPECT_TRUE(values > 200 || static_cast<long>(seen.size()) == values) << r[0] << ".." << r[1];
    }
}

TEST(Numeric, OscillatorVectorsAndTheRestOfTheKit)
{
    Oscillator o(0, 1, 1);
    EXPECT_FLOAT_EQ(o, 0.5f);
    global_time = 0.25f;
    for (float value : {1.0f, 0.5f, 0.0f, 0.5f}) {
        o.simulate();
        EXPECT_TRUE(std::fabs(o.signal() - value) < 1e-5f && o.wave_fac <= 360.0f) << value;
    }
    vector3f zero, v(3, 0, 4), p(1, 2, 3);
    zero.normalize();
    v.normalize();
    EXPECT_TRUE(zero == vector3f(0, 0, 0) && v == vector3f(0.6f, 0, 0.8f) && !(v == vector3f(0.6f, 0, 0.8001f)));
    matrix4x4f m; // the rest of the kit, which no rule of the game calls
    m.translate(vector3f(10, 0, 0));
    (m * m).transformPoint(&p);
    EXPECT_TRUE(p == vector3f(21, 2, 3) && SlopeV3F(vector3f(0, 1, 0), vector3f(1, 0, 0)) == 270.0f);
    EXPECT_TRUE(OppositeSign(0, -1) && !OppositeSign(0, 0) && ConvertDAM(1, 1, 1901, 1, 1) == 1 + 60 + 1440 * 32 + 535680);
}
