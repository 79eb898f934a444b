#include "platform/x11/X11UserDefaults.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/PlistBuilders.h"

namespace tilewise {
namespace {

namespace fs = std::filesystem;
using x11::X11UserDefaults;

PropertyValue text(const char* value) {
    return PropertyValue{std::string{value}};
}

class X11UserDefaultsTest : public ::testing::Test {
  protected:
    ~X11UserDefaultsTest() override { ::unsetenv("TilewiseTestKey"); }
};

TEST_F(X11UserDefaultsTest, ALaunchArgumentBeatsTheEnvironment) {
    ::setenv("TilewiseTestKey", "from the environment", 1);
    X11UserDefaults withArgument{{"tilewise", "-TilewiseTestKey", "from the arguments"}};
    EXPECT_EQ(withArgument.value("TilewiseTestKey"), text("from the arguments"));
    X11UserDefaults withoutArgument{{"tilewise", "place"}};
    EXPECT_EQ(withoutArgument.value("TilewiseTestKey"), text("from the environment"));
    ::unsetenv("TilewiseTestKey");
    EXPECT_EQ(withoutArgument.value("TilewiseTestKey"), std::nullopt);
}

TEST_F(X11UserDefaultsTest, TheFirstArgumentWinsAndAFlagNeedsAValue) {
    X11UserDefaults defaults{{"-Key", "program name", "-Key", "first", "-Key", "second", "-Last"}};
    EXPECT_EQ(defaults.value("Key"), text("first"));
    EXPECT_EQ(defaults.value("Last"), std::nullopt);
    EXPECT_EQ(defaults.value(""), std::nullopt);
    X11UserDefaults flagAsProgramName{{"-Key", "value"}};
    EXPECT_EQ(flagAsProgramName.value("Key"), std::nullopt) << "the program name is no argument";
}

TEST_F(X11UserDefaultsTest, AnotherApplicationsDomainIsItsFileInTheLibraryPreferences) {
    const fs::path library = fs::path{std::getenv("HOME")} / "Library" / "Preferences";
    fs::create_directories(library);
    const auto bytes = test::toBinary(test::dictionaryOf("useGlobalHotkey", test::boolean(true)));
    ASSERT_TRUE(writeFileBytes(library / "org.example.Grid.plist",
                               std::string(bytes.begin(), bytes.end())));
    X11UserDefaults defaults{{"tilewise", "-useGlobalHotkey", "0"}};
    EXPECT_EQ(defaults.value("org.example.Grid", "useGlobalHotkey"), PropertyValue{true});
    EXPECT_EQ(defaults.value("org.example.Missing", "useGlobalHotkey"), std::nullopt);
    fs::remove_all(library);
}

}  // namespace
}  // namespace tilewise
