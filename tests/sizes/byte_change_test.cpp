// Changes of 65 bits: sums that keep their sign and stop at the limit, an order that
// puts the largest loss first and the largest growth last, and the change column's text.
#include "sizes/byte_change.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr uint64_t kMax = ~uint64_t{0};

TEST(ByteChangeTest, SumsKeepTheirSignAndStopAtTheLimit) {
    const struct {
        ByteChange a, b;
        const char* digits;
    } cases[] = {
        {{false, 5}, {true, 8}, "-3"},
        {{true, 5}, {false, 5}, "0"},
        {{true, 5}, {true, 8}, "-13"},
        {{false, kMax}, {false, 1}, "18446744073709551615"},
        {{true, kMax}, {true, kMax}, "-18446744073709551615"},
        {{false, kMax}, {true, kMax}, "0"},
    };
    for (const auto& c : cases) {
        const ByteChange sum = AddChanges(c.a, c.b);
        EXPECT_EQ(ChangeDigits(sum), c.digits);
        EXPECT_EQ(AddChanges(c.b, c.a), sum);
        EXPECT_FALSE(sum.negative && sum.magnitude == 0) << "no negative zero";
    }
}

TEST(ByteChangeTest, ChangesOrderAsSignedNumbersBeyondSixtyFourBits) {
    // Shuffled; sorted they must run from the largest loss to the largest growth.
    std::vector<ByteChange> changes = {
        ChangeBetween(7, 0),    ChangeBetween(0, kMax), ChangeBetween(0, 0),
        ChangeBetween(kMax, 0), ChangeBetween(0, 7),    ChangeBetween(0, 1),
    };
    std::sort(changes.begin(), changes.end(),
              [](const ByteChange& a, const ByteChange& b) { return CompareChanges(a, b) < 0; });
    std::vector<std::string> digits;
    for (const ByteChange& change : changes) {
        digits.push_back(ChangeDigits(change));
    }
    EXPECT_EQ(digits, (std::vector<std::string>{"-18446744073709551615", "-7", "-1", "0", "7",
                                                "18446744073709551615"}));
    EXPECT_EQ(0, CompareChanges(ChangeBetween(3, 3), ChangeBetween(9, 9)));
}

TEST(ByteChangeTest, TheTextSaysGrowthLossNewAndRemoved) {
    EXPECT_EQ("+1.234", ChangeText({RowChange::kChanged, ChangeBetween(1234, 0)}, true));
    EXPECT_EQ("-1,2 kB", ChangeText({RowChange::kChanged, ChangeBetween(0, 1234)}, false));
    EXPECT_EQ("0", ChangeText({RowChange::kChanged, ChangeBetween(5, 5)}, true));
    EXPECT_EQ("0 Bytes", ChangeText({RowChange::kChanged, ChangeBetween(5, 5)}, false));
    EXPECT_EQ("neu", ChangeText({RowChange::kNew, ChangeBetween(5, 0)}, false));
    EXPECT_EQ("entfernt", ChangeText({RowChange::kRemoved, ChangeBetween(0, 5)}, true));
}

} // namespace
