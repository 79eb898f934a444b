#include <X11/XKBlib.h>

#include "app/KeyboardLabels.h"
#include "platform/x11/X11KeyboardLayout.h"
#include "tests/x11/support/X11TestSupport.h"

namespace tilewise::testing {
namespace {

using x11::X11KeyboardLayout;

constexpr std::uint16_t kKeyA = 0;
constexpr std::uint16_t kKeyQ = 12;
constexpr std::uint16_t kKey2 = 19;
constexpr std::uint16_t kLeftBracket = 33;
constexpr std::uint16_t kQuote = 39;
constexpr std::uint16_t kReturn = 36;

// The server's layout, switched the way a user does it; runs on a server of its own.
class KeyboardLayoutTest : public X11Test {
  protected:
    ~KeyboardLayoutTest() override { setLayout("us"); }

    void setLayout(const std::string& layouts) {
        ASSERT_EQ(runProgram({"setxkbmap", "-layout", layouts}), 0) << "setxkbmap " << layouts;
    }
    void lockGroup(unsigned group) {
        XkbLockGroup(display(), XkbUseCoreKbd, group);
        XSync(display(), False);
    }

    std::u16string characters(std::uint16_t keyCode) {
        const auto translation = layout.translate(keyCode);
        if (!translation) {
            ADD_FAILURE() << "no keyboard layout";
            return u"<none>";
        }
        EXPECT_EQ(translation->status, noErr) << "key code " << keyCode;
        return translation->characters;
    }

    X11KeyboardLayout layout;
};

TEST_F(KeyboardLayoutTest, TranslatesKeysAsTheUsLayoutTypesThem) {
    setLayout("us");
    EXPECT_EQ(characters(kKeyA), u"a");
    EXPECT_EQ(characters(kKeyQ), u"q");
    EXPECT_EQ(characters(kKey2), u"2");
    EXPECT_EQ(characters(kLeftBracket), u"[");
    EXPECT_EQ(characters(kReturn), u"\r");
    EXPECT_EQ(KeyboardLabels::keyName(kKeyA, layout), "A");
}

TEST_F(KeyboardLayoutTest, FollowsASwitchToTheFrenchLayout) {
    setLayout("us");
    ASSERT_EQ(characters(kKeyA), u"a");
    setLayout("fr");
    EXPECT_EQ(characters(kKeyA), u"q");
    EXPECT_EQ(characters(kKeyQ), u"a");
    EXPECT_EQ(characters(kKey2), u"é");
    EXPECT_EQ(characters(kQuote), u"ù");
    EXPECT_EQ(characters(kLeftBracket), u"") << "the circumflex is a dead key";
    EXPECT_EQ(KeyboardLabels::keyName(kKeyA, layout), "Q");
    EXPECT_EQ(KeyboardLabels::keyName(kKey2, layout), "É");
    EXPECT_EQ(KeyboardLabels::keyName(kLeftBracket, layout), "[");
}

TEST_F(KeyboardLayoutTest, FollowsTheActiveLayoutAmongSeveral) {
    setLayout("us,fr");
    lockGroup(1);
    EXPECT_EQ(characters(kKeyA), u"q");
    lockGroup(0);
    EXPECT_EQ(characters(kKeyA), u"a");
}

TEST_F(KeyboardLayoutTest, AKeyCodeWithoutAKeyIsAParameterError) {
    const auto translation = layout.translate(200);
    ASSERT_TRUE(translation.has_value());
    EXPECT_EQ(translation->status, paramErr);
    EXPECT_EQ(KeyboardLabels::keyName(200, layout), "Key 200");
}

TEST_F(KeyboardLayoutTest, WithoutAServerThereIsNoLayoutAndNoCrash) {
    X11KeyboardLayout unreachable(":4095");
    EXPECT_EQ(unreachable.translate(kKeyA), std::nullopt);
    EXPECT_EQ(KeyboardLabels::keyName(kKeyA, unreachable), "A");
}

}  // namespace
}  // namespace tilewise::testing
