// The hash of the tables keyed by outside text: SipHash gives its authors' reference
// values (so rounds, rotations and byte order are right on every platform), and the
// case fold and the key change what they must.
#include "platform/keyed_hash.h"
#include "text/ascii_case.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(KeyedHashTest, SipHashGivesTheReferenceValuesAndFoldsOnlyWhereAsked) {
    const text::HashKey key{0x0706050403020100ull, 0x0f0e0d0c0b0a0908ull};
    std::string bytes;
    for (char c = 0; c < 15; ++c) {
        bytes += c;
    }
    EXPECT_EQ((text::SipHash<2, 4>(key, "")), 0x726fdb47dd0e0e31ull);
    EXPECT_EQ((text::SipHash<2, 4>(key, bytes.substr(0, 8))), 0x93f5f5799a932462ull);
    EXPECT_EQ((text::SipHash<2, 4>(key, bytes)), 0xa129ca6149be45e5ull);
    EXPECT_EQ(text::SipHash13(key, "Anna", text::FoldAscii),
              text::SipHash13(key, "aNNA", text::FoldAscii));
    EXPECT_NE(text::SipHash13(key, "Anna"), text::SipHash13(key, "aNNA"));
    EXPECT_NE(text::SipHash13(key, "Anna"), text::SipHash13(text::HashKey{1, 0}, "Anna"));
    // The run's key is drawn, not left at zero.
    const text::HashKey& run = platform::RunHashKey();
    EXPECT_TRUE(run.k0 != 0 || run.k1 != 0);
}

} // namespace
