#include <gtest/gtest.h>

#include <unordered_set>

#include "platform/Platform.h"

namespace tilewise {
namespace {

TEST(PlatformValuesTest, FourCharacterCodesReadBigEndian) {
    EXPECT_EQ(fourCharCode("keyb"), 0x6B657962u);
    EXPECT_EQ(fourCharCode("TLWS"), 0x544C5753u);
}

TEST(PlatformValuesTest, OnlyIntegersAndRealsCountAsPropertyNumbers) {
    EXPECT_EQ(propertyNumber(PropertyValue{std::int64_t{42}}), 42.0);
    EXPECT_EQ(propertyNumber(PropertyValue{2.5}), 2.5);
    EXPECT_FALSE(propertyNumber(PropertyValue{true}).has_value());
    EXPECT_FALSE(propertyNumber(PropertyValue{std::string{"42"}}).has_value());
}

TEST(PlatformValuesTest, ElementIdentityIgnoresTheRetainedHandle) {
    const AXElement window{AXElement::Kind::window, 7, std::make_shared<int>(1)};
    const AXElement sameWindow{AXElement::Kind::window, 7, nullptr};
    const AXElement application{AXElement::Kind::application, 7, nullptr};

    EXPECT_EQ(window, sameWindow);
    EXPECT_NE(window, application);
    const std::unordered_set<AXElement> set{window, sameWindow, application};
    EXPECT_EQ(set.size(), 2u);
}

}  // namespace
}  // namespace tilewise
