#include "platform/sim/SimUserDefaults.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tilewise::sim
