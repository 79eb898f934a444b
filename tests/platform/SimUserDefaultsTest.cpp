#include "platform/sim/SimUserDefaults.h"

#include <gtest/gtest.h>

#include "platform/sim/SimLoginItem.h"

namespace tilewise::sim {
namespace {

constexpr std::string_view kDivvy = "com.mizage.direct.Divvy";

TEST(SimUserDefaultsTest, KeepsTheOwnDomainApartFromOtherApplications) {
    SimUserDefaults defaults;
    defaults.set("TilewiseSettingsPath", std::string{"~/tilewise.json"});
    defaults.set(kDivvy, "lastColumnCount", std::int64_t{8});

    EXPECT_EQ(defaults.value("TilewiseSettingsPath"),
              PropertyValue{std::string{"~/tilewise.json"}});
    EXPECT_FALSE(defaults.value("lastColumnCount").has_value());
    EXPECT_EQ(defaults.value(kDivvy, "lastColumnCount"), PropertyValue{std::int64_t{8}});
    EXPECT_FALSE(defaults.value(kDivvy, "TilewiseSettingsPath").has_value());
    EXPECT_FALSE(defaults.value("com.example.unknown", "lastColumnCount").has_value());
}

TEST(SimUserDefaultsTest, ABrokenDomainAnswersNothing) {
    SimUserDefaults defaults;
    defaults.set(kDivvy, "shortcuts", PropertyData{0x62, 0x70});
    defaults.breakDomain(kDivvy);
    EXPECT_FALSE(defaults.value(kDivvy, "shortcuts").has_value());
}

TEST(SimLoginItemTest, RegistersUnregistersAndFailsOnRequest) {
    SimLoginItem item;
    EXPECT_EQ(item.status(), LoginItemStatus::notRegistered);
    ASSERT_TRUE(item.registerItem().has_value());
    EXPECT_EQ(item.status(), LoginItemStatus::enabled);

    item.failNextChange("Operation not permitted");
    EXPECT_EQ(item.unregisterItem(), std::unexpected(std::string{"Operation not permitted"}));
    EXPECT_EQ(item.status(), LoginItemStatus::enabled);
    ASSERT_TRUE(item.unregisterItem().has_value());

    item.setRequiresApproval(true);
    ASSERT_TRUE(item.registerItem().has_value());
    EXPECT_EQ(item.status(), LoginItemStatus::requiresApproval);
}

}  // namespace
}  // namespace tilewise::sim
