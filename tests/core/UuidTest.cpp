#include "core/Uuid.h"

#include <unordered_set>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise {
namespace {

TEST(UuidTest, ParsesEitherCaseAndFormatsUpperCase) {
    const auto lower = Uuid::parse("0f8e2c1a-3b4d-4e5f-8a9b-0c1d2e3f4a5b");
    const auto upper = Uuid::parse("0F8E2C1A-3B4D-4E5F-8A9B-0C1D2E3F4A5B");
    ASSERT_TRUE(lower.has_value());
    EXPECT_EQ(lower, upper);
    EXPECT_EQ(lower->string(), "0F8E2C1A-3B4D-4E5F-8A9B-0C1D2E3F4A5B");
    EXPECT_EQ(lower->bytes()[0], 0x0F);
    EXPECT_EQ(lower->bytes()[15], 0x5B);
}

TEST(UuidTest, RejectsMalformedText) {
    for (const char* text :
         {"", "0F8E2C1A3B4D4E5F8A9B0C1D2E3F4A5B", "0F8E2C1A-3B4D-4E5F-8A9B-0C1D2E3F4A5",
          "0F8E2C1A-3B4D-4E5F-8A9B-0C1D2E3F4A5BB", "0F8E2C1A-3B4D-4E5F-8A9B+0C1D2E3F4A5B",
          "0G8E2C1A-3B4D-4E5F-8A9B-0C1D2E3F4A5B", "{0F8E2C1A-3B4D-4E5F-8A9B-0C1D2E3F4A5}"}) {
        EXPECT_EQ(Uuid::parse(text), std::nullopt) << text;
    }
}

TEST(UuidTest, RandomIdentifiersAreVersionFourAndDistinct) {
    std::unordered_set<Uuid> seen;
    for (int i = 0; i < 1000; ++i) {
        const Uuid id = Uuid::random();
        EXPECT_EQ(id.bytes()[6] >> 4, 4);
        EXPECT_EQ(id.bytes()[8] & 0xC0, 0x80);
        EXPECT_EQ(Uuid::parse(id.string()), id);
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
}  // namespace tilewise
