#include "platform/x11/X11KeyboardLayout.h"

#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

constexpr std::uint16_t kMacA = 0, kMacQ = 12, kMacM = 46, kMacLeftBracket = 33, kMacOne = 18;

// Runs in a server of its own: it switches the server's keyboard layout.
class KeyboardLayoutTest : public X11Test {
  protected:
    std::u16string typed(std::uint16_t keyCode) {
        const auto translation = layout.translate(keyCode);
        EXPECT_TRUE(translation.has_value());
        EXPECT_EQ(translation.value_or(KeyTranslation{}).status, noErr);
        return translation.value_or(KeyTranslation{}).characters;
    }

    x11::X11KeyboardLayout layout{display()};
};

TEST_F(KeyboardLayoutTest, KeysTypeWhatTheCurrentLayoutPutsOnThem) {
    ASSERT_EQ(runProgram({"setxkbmap", "us"}), 0);
    EXPECT_EQ(typed(kMacA), u"a");
    EXPECT_EQ(typed(kMacQ), u"q");
    ASSERT_EQ(runProgram({"setxkbmap", "fr"}), 0);
    EXPECT_EQ(typed(kMacA), u"q");
    EXPECT_EQ(typed(kMacQ), u"a");
    EXPECT_EQ(typed(kMacM), u",");
    EXPECT_EQ(typed(kMacOne), u"&");
}

TEST_F(KeyboardLayoutTest, ADeadKeyTypesNothing) {
    ASSERT_EQ(runProgram({"setxkbmap", "fr"}), 0);
    EXPECT_EQ(typed(kMacLeftBracket), u"");
}

TEST_F(KeyboardLayoutTest, AKeyWithoutAPositionCannotBeTranslated) {
    EXPECT_EQ(layout.translate(200).value_or(KeyTranslation{}).status, paramErr);
}

}  // namespace
}  // namespace tilewise::testing
