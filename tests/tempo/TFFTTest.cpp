#include "TFFT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>

TEST(TFFTTest, TablesHoldCosinesThenSinesAndBitReversedIndices) {
    TFFT fft(3);
    EXPECT_EQ(fft.N(), 8);
    ASSERT_EQ(fft.table().size(), 16u);
    for (int j = 0; j < 8; ++j) {
        EXPECT_DOUBLE_EQ(fft.table()[j], std::cos(2 * M_PI * j / 8)) << j;
        EXPECT_DOUBLE_EQ(fft.table()[8 + j], std::sin(2 * M_PI * j / 8)) << j;
    }
    const std::vector<uint32_t> reversed{0, 4, 2, 6, 1, 5, 3, 7};
    EXPECT_EQ(fft.reversed(), reversed);
}

TEST(TFFTTest, ConstantLandsInBinZeroAndImpulseSpreadsFlat) {
    TFFT fft(5);
    std::vector<int16_t> values(32, -1234);
    fft.FFT(values.data());
    EXPECT_EQ(values[0], -1234);
    for (int k = 1; k < 32; ++k)
        EXPECT_EQ(values[k], 0) << k;

    std::vector<int16_t> impulse(32, 0);
    impulse[0] = 3200;
    fft.FFT(impulse.data());
    for (int k = 0; k < 32; ++k)
        EXPECT_EQ(impulse[k], 100) << k;
}

TEST(TFFTTest, ResultIsTheRealPartOverNTruncatedTowardZero) {
    // A cosine of amplitude 1001 at bin 3 gives Re X[3] = Re X[N-3] = 1001 N/2,
    // so 500.5 after scaling: 500, and -500 for the negated input.
    TFFT fft(4);
    std::vector<int16_t> values(16);
    std::vector<int16_t> negated(16);
    for (int i = 0; i < 16; ++i) {
        values[i] = static_cast<int16_t>(std::lround(1001 * std::cos(2 * M_PI * 3 * i / 16)));
        negated[i] = static_cast<int16_t>(-values[i]);
    }
    fft.FFT(values.data());
    fft.FFT(negated.data());
    EXPECT_EQ(values[3], 500);
    EXPECT_EQ(values[13], 500);
    EXPECT_EQ(negated[3], -500);
    EXPECT_EQ(negated[13], -500);
    // A sine has no real part at all.
    for (int i = 0; i < 16; ++i)
        values[i] = static_cast<int16_t>(std::lround(20000 * std::sin(2 * M_PI * 5 * i / 16)));
    fft.FFT(values.data());
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(values[k], 0) << k;
}

TEST(TFFTTest, MatchesADirectTransformOfRandomInput) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    for (int bits : {1, 5, 10}) {
        TFFT fft(bits);
        const int n = 1 << bits;
        std::vector<int16_t> values(static_cast<size_t>(n));
        for (int16_t& value : values)
            value = static_cast<int16_t>(sample(random));
        const std::vector<int16_t> input = values;
        fft.FFT(values.data());
        for (int k = 0; k < n; ++k) {
            long double sum = 0;
            for (int i = 0; i < n; ++i)
                sum += input[static_cast<size_t>(i)] * std::cos(2 * M_PIl * ((long long)i * k % n) / n);
            EXPECT_NEAR(values[static_cast<size_t>(k)], std::trunc(sum / n), 1) << bits << " bin " << k;
        }
    }
}

TEST(TFFTTest, SinglePointIsUnchangedAndBadSizesAreRefused) {
    TFFT fft(0);
    int16_t value = -77;
    fft.FFT(&value);
    EXPECT_EQ(value, -77);
    EXPECT_THROW(TFFT(-1), std::invalid_argument);
    EXPECT_THROW(TFFT(TFFT::kMaxBits + 1), std::invalid_argument);
}
