#include "util/NameLookup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

using namespace mirel;
using namespace std::chrono_literals;

TEST(NameLookup, NumericHostsAndTheirText)
{
    const auto v4 = addressesOf("127.0.0.1", 80, true);
    ASSERT_EQ(v4.size(), 1u);
    EXPECT_EQ(numericText(v4[0]), "127.0.0.1");
    const auto v6 = addressesOf("::1", 80, true);
    ASSERT_EQ(v6.size(), 1u);
    EXPECT_EQ(numericText(v6[0]), "::1");
    EXPECT_TRUE(addressesOf("localhost", 80, true).empty());
    EXPECT_TRUE(addressesOf("", 80, true).empty());
}

TEST(NameLookup, ResultErrorOrNothingAtTheDeadline)
{
    const auto soon = [] { return std::chrono::steady_clock::now() + 10s; };
    EXPECT_EQ(lookUpBefore([] { return 7; }, soon()), 7);
    EXPECT_THROW(lookUpBefore([]() -> int { throw std::runtime_error("no"); }, soon()),
                 std::runtime_error);

    // A slow lookup is left behind at the deadline and ends on its own.
    const auto ended = std::make_shared<std::atomic<bool>>(false);
    const auto start = std::chrono::steady_clock::now();
    const auto late = lookUpBefore(
        [ended] {
            std::this_thread::sleep_for(3s);
            *ended = true;
            return 1;
        },
        start + 100ms);
    EXPECT_EQ(late, std::nullopt);
    EXPECT_FALSE(*ended); // the call did not wait for it
    while (!*ended && std::chrono::steady_clock::now() - start < 30s)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(*ended);
}
