#include "platform/x11/XSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tilewise::x11 {
namespace {

// Builds an XSETTINGS blob as a settings manager publishes it, in either byte order.
class Blob {
  public:
    explicit Blob(bool bigEndian, std::uint32_t count) : bigEndian_(bigEndian) {
        bytes.push_back(bigEndian ? 1 : 0);
        pad(3);
        number(4, 7);  // serial
        number(4, count);
    }
    Blob& integer(const std::string& name, std::uint32_t value) {
        header(0, name);
        number(4, value);
        return *this;
    }
    Blob& string(const std::string& name, const std::string& value) {
        header(1, name);
        number(4, static_cast<std::uint32_t>(value.size()));
        text(value);
        return *this;
    }
    Blob& colour(const std::string& name) {
        header(2, name);
        pad(8);
        return *this;
    }
    std::vector<unsigned char> bytes;

  private:
    void header(unsigned char type, const std::string& name) {
        bytes.push_back(type);
        pad(1);
        number(2, static_cast<std::uint32_t>(name.size()));
        text(name);
        number(4, 1);  // last-change serial
    }
    void text(const std::string& value) {
        bytes.insert(bytes.end(), value.begin(), value.end());
        pad((4 - value.size() % 4) % 4);
    }
    void pad(std::size_t count) { bytes.insert(bytes.end(), count, 0); }
    void number(std::size_t width, std::uint32_t value) {
        for (std::size_t index = 0; index < width; ++index) {
            const std::size_t shift = 8 * (bigEndian_ ? width - 1 - index : index);
            bytes.push_back(static_cast<unsigned char>(value >> shift));
        }
    }
    bool bigEndian_;
};

class XSettingsTest : public ::testing::TestWithParam<bool> {};

TEST_P(XSettingsTest, FindsTheIntegerAfterSettingsOfEveryType) {
    const Blob blob = Blob(GetParam(), 4)
                          .string("Net/ThemeName", "Adwaita")
                          .colour("Gtk/Colour")
                          .integer("Net/DoubleClickTime", 400)
                          .integer("Gtk/EnableAnimations", 0);
    EXPECT_EQ(XSettings::integerSetting(blob.bytes, "Gtk/EnableAnimations"), 0);
    EXPECT_EQ(XSettings::integerSetting(blob.bytes, "Net/DoubleClickTime"), 400);
    EXPECT_EQ(XSettings::integerSetting(blob.bytes, "Net/ThemeName"), std::nullopt);
}

TEST_P(XSettingsTest, TruncatedOrLyingBlobsGiveNothing) {
    Blob blob = Blob(GetParam(), 1).integer("Gtk/EnableAnimations", 1);
    for (std::size_t size = 0; size < blob.bytes.size(); ++size) {
        const std::vector<unsigned char> cut(blob.bytes.begin(), blob.bytes.begin() + size);
        EXPECT_EQ(XSettings::integerSetting(cut, "Gtk/EnableAnimations"), std::nullopt) << size;
    }
    Blob lying = Blob(GetParam(), 1000).string("A", std::string(3, 'x'));
    lying.bytes[GetParam() ? 14 : 15] = 0xFF;  // a name length far past the end
    EXPECT_EQ(XSettings::integerSetting(lying.bytes, "A"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, XSettingsTest, ::testing::Bool());

}  // namespace
}  // namespace tilewise::x11
