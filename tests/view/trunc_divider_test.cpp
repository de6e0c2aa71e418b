#include "view/trunc_divider.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace lumetra {
namespace {

std::vector<std::int32_t> InterestingDivisors() {
    std::vector<std::int32_t> divisors{1, 2, 3, 4, 5, 7, 570, 571, 65535, 65536, 65537, INT32_MAX, INT32_MAX - 1};
    for (int bit = 1; bit < 31; ++bit) {
        const std::int32_t power = std::int32_t{1} << bit;
        divisors.insert(divisors.end(), {power - 1, power, power + 1});
    }
    const std::size_t positives = divisors.size();
    for (std::size_t i = 0; i < positives; ++i) divisors.push_back(-divisors[i]);
    return divisors;
}

std::vector<std::int32_t> InterestingNumerators(std::int32_t divisor) {
    std::vector<std::int32_t> numerators{0, 1, -1, 2, -2, INT32_MAX, INT32_MIN + 1, INT32_MAX - 1, INT32_MIN + 2};
    const std::int64_t d = divisor < 0 ? -std::int64_t{divisor} : divisor;
    for (std::int64_t k : {1, 2, 3, 1000, 12345}) {
        for (std::int64_t offset : {-1, 0, 1}) {
            const std::int64_t n = k * d + offset;
            if (n <= INT32_MAX)
                numerators.insert(numerators.end(), {static_cast<std::int32_t>(n), static_cast<std::int32_t>(-n)});
        }
    }
    return numerators;
}

TEST(TruncDivider, MatchesTruncatingDivisionAtTheEdges) {
    for (std::int32_t divisor : InterestingDivisors()) {
        const CTruncDivider divider(divisor);
        for (std::int32_t n : InterestingNumerators(divisor)) {
            ASSERT_EQ(divider.Divide(n), n / divisor) << n << " / " << divisor;
        }
    }
}

TEST(TruncDivider, MatchesTruncatingDivisionOnRandomValues) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::int32_t> any(INT32_MIN + 1, INT32_MAX);
    for (int round = 0; round < 2000; ++round) {
        std::int32_t divisor = any(random) >> (random() % 31);  // all magnitudes
        if (divisor == 0) divisor = 1;
        const CTruncDivider divider(divisor);
        for (int i = 0; i < 200; ++i) {
            const std::int32_t n = any(random) >> (random() % 31);
            ASSERT_EQ(divider.Divide(n), n / divisor) << n << " / " << divisor;
        }
    }
}

TEST(TruncDivider, SmallValuesExhaustively) {
    for (std::int32_t divisor = -300; divisor <= 300; ++divisor) {
        if (divisor == 0) continue;
        const CTruncDivider divider(divisor);
        for (std::int32_t n = -5000; n <= 5000; ++n) ASSERT_EQ(divider.Divide(n), n / divisor) << n << " / " << divisor;
    }
}

TEST(TruncDivider, RejectsDivisorsItCannotServe) {
    EXPECT_THROW(CTruncDivider(0), std::invalid_argument);
    EXPECT_THROW(CTruncDivider(INT32_MIN), std::invalid_argument);
}

}  // namespace
}  // namespace lumetra
