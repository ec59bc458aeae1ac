// The numeric kit: the helpers the game's rules stand on, and one small table for the rest of the kit.
#include "math/global_time.h"
#include "math/numeric.h"

#include <cmath>
#include <cstdlib>
#include <tuple>
#include <gtest/gtest.h>

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

TEST(Numeric, OscillatorAndTheRestOfTheKit)
{
    Oscillator o(0, 1, 1);
    EXPECT_FLOAT_EQ(o, 0.5f);
    global_time = 0.25f;
    for (float value : {1.0f, 0.5f, 0.0f, 0.5f}) {
        o.simulate();
        EXPECT_TRUE(std::fabs(o.signal() - value) < 1e-5f && o.wave_fac <= 360.0f) << value;
    }
    // A phase far beyond one turn comes back at once, to where the loop would bring it.
    for (auto [phase, expected] : {std::pair<float, float>{720.0f, 360.0f}, {370.5f, 10.5f}, {1.5e10f, std::fmod(1.5e10f, 360.0f)}}) {
        o.wave_fac = phase, global_time = 0.0f;
        o.simulate();
        EXPECT_EQ(o.wave_fac, expected == 0.0f ? 360.0f : expected) << phase;
    }
    // rand_intvf spends one draw whatever its range, and works in float (its
    // first call seeds the generator once).
    rand_intvf(0, 1, 1);
    for (auto [s, e, p] : {std::tuple<float, float, float>{5, 5, 1}, {7, 3, 1}, {0, 0.3f, 10}, {-20, 20, 10}}) {
        srand(99);
        const float got = rand_intvf(s, e, p);
        const int after = rand();
        srand(99);
        const int n = static_cast<int>((e - s) * p), draw = rand();
        EXPECT_TRUE(after == rand() && got == static_cast<float>(n == -1 ? 0 : draw % (n + 1)) / p + s) << s << " " << e;
    }
    // The rest of the kit, which no rule of the game calls.
    EXPECT_TRUE(SlopeV3F(vector3f(0, 1, 0), vector3f(1, 0, 0)) == 270.0f && OppositeSign(0, -1) && !OppositeSign(0, 0));
}
