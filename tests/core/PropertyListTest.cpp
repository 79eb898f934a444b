#include "core/PropertyList.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/support/PlistBuilders.h"

namespace tilewise {
namespace {

using test::Bytes;
namespace raw = test::rawbplist;

test::Node everyKind() {
    return test::dictionaryOf("flag", test::boolean(true), "negative", test::integer(-7), "large",
                              test::integer(8912896), "ratio", test::real(0.5), "name",
                              test::string("Left ½ “half”"), "reference", test::uid(3), "list",
                              test::arrayOf(test::integer(1), test::string("two")));
}

void expectEveryKind(const PropertyList& value) {
    ASSERT_NE(value.dictionary(), nullptr);
    EXPECT_EQ(*value.find("flag")->boolean(), true);
    EXPECT_EQ(*value.find("negative")->integer(), -7);
    EXPECT_EQ(*value.find("large")->integer(), 8912896);
    EXPECT_EQ(value.find("ratio")->number(), 0.5);
    EXPECT_EQ(value.find("large")->number(), 8912896.0);
    EXPECT_EQ(*value.find("name")->string(), "Left ½ “half”");
    ASSERT_NE(value.find("reference")->uid(), nullptr);
    EXPECT_EQ(value.find("reference")->uid()->index, 3U);
    const auto* list = value.find("list")->array();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 2U);
    EXPECT_EQ(*(*list)[0].integer(), 1);
    EXPECT_EQ(*(*list)[1].string(), "two");
    EXPECT_EQ(value.find("missing"), nullptr);
    EXPECT_EQ(value.find("name")->integer(), nullptr);
    EXPECT_EQ(value.find("flag")->number(), std::nullopt);
}

TEST(PropertyListTest, ReadsBinaryAndXmlFormsAlike) {
    const auto binary = PropertyList::parse(test::toBinary(everyKind()));
    const auto xml = PropertyList::parse(test::toXml(everyKind()));
    ASSERT_TRUE(binary.has_value());
    ASSERT_TRUE(xml.has_value());
    expectEveryKind(*binary);
    expectEveryKind(*xml);
    EXPECT_EQ(*binary, *xml);
}

TEST(PropertyListTest, ReadsTheRealDivvyPreferencesFile) {
    TILEWISE_REQUIRE_DIVVY_SAMPLES();
    const auto plist = PropertyList::parse(test::readFile(
        test::divvySamples() / "andrewscwei-macos-config_com.mizage.direct.Divvy.plist"));
    ASSERT_TRUE(plist.has_value());
    EXPECT_EQ(*plist->find("lastColumnCount")->integer(), 6);
    EXPECT_EQ(*plist->find("defaultRowCount")->integer(), 4);
    EXPECT_EQ(*plist->find("useDefaultGrid")->boolean(), true);
    EXPECT_TRUE(
        std::holds_alternative<PropertyList::Date>(plist->find("SULastCheckTime")->value()));
    ASSERT_NE(plist->find("shortcuts")->data(), nullptr);
    EXPECT_TRUE(PropertyList::parse(*plist->find("shortcuts")->data()).has_value());
}

TEST(PropertyListTest, RejectsBytesThatAreNoPropertyList) {
    for (const std::string text : {"", "hello", "bplist00", "<plist><array>", "{\"a\": 1}"}) {
        EXPECT_EQ(PropertyList::parse(test::bytesOf(text)).error(),
                  PropertyListError::notAPropertyList)
            << text;
    }
}

TEST(PropertyListTest, EveryTruncationOfABinaryListFailsCleanly) {
    const Bytes whole = test::toBinary(everyKind());
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(PropertyList::parse(cut).has_value()) << length;
    }
}

TEST(PropertyListTest, RejectsReferenceCyclesAndReferencesOutOfRange) {
    const auto cycle = raw::assemble({raw::array({1}, 1), raw::array({0}, 1)}, 0, 1);
    const auto selfReference = raw::assemble({raw::array({0, 0}, 1)}, 0, 1);
    const auto outOfRange = raw::assemble({raw::array({5}, 1), raw::integer(1)}, 0, 1);
    const auto topOutOfRange = raw::assemble({raw::integer(1)}, 1, 1);
    for (const auto& bytes : {cycle, selfReference, outOfRange, topOutOfRange}) {
        EXPECT_EQ(PropertyList::parse(bytes).error(), PropertyListError::notAPropertyList);
    }
}

// libplist aborts on an assertion when it hands out such a key.
TEST(PropertyListTest, RejectsDictionaryKeysWithANulCharacter) {
    using namespace std::string_literals;
    const auto binary =
        raw::assemble({raw::dictionary(1, 2, 1), raw::ascii("a\0b"s), raw::integer(1)}, 0, 1);
    EXPECT_EQ(PropertyList::parse(binary).error(), PropertyListError::notAPropertyList);
    const auto keyIsNoString = raw::assemble({raw::dictionary(1, 1, 1), raw::integer(1)}, 0, 1);
    EXPECT_EQ(PropertyList::parse(keyIsNoString).error(), PropertyListError::notAPropertyList);
    for (const std::string& key : {"a&#0;b"s, "a&#x000;b"s, "a\0b"s}) {
        const auto text = "<plist><dict><key>" + key + "</key><true/></dict></plist>";
        EXPECT_EQ(PropertyList::parse(test::bytesOf(text)).error(),
                  PropertyListError::notAPropertyList);
    }
    const auto fine =
        PropertyList::parse(test::bytesOf("<plist><dict><key>a&#10;b</key><true/></dict></plist>"));
    ASSERT_TRUE(fine.has_value());
    EXPECT_NE(fine->find("a\nb"), nullptr);
}

TEST(PropertyListTest, RejectsCountsBeyondTheData) {
    Bytes hugeArray{0xAF, 0x13, 0x10, 0, 0, 0, 0, 0, 0, 0, 0x01};
    const auto absurd = raw::assemble({hugeArray, raw::integer(1)}, 0, 1);
    EXPECT_FALSE(PropertyList::parse(absurd).has_value());
    Bytes longString{0x5F, 0x13, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'};
    EXPECT_FALSE(PropertyList::parse(raw::assemble({longString}, 0, 1)).has_value());
}

// Each level refers twice to the next, so 64 small objects stand for 2^64 values once
// expanded: libplist on its own would never finish.
TEST(PropertyListTest, ExpandsSharedObjectsButRefusesExponentialExpansion) {
    std::vector<Bytes> objects;
    constexpr std::uint64_t kLevels = 64;
    for (std::uint64_t level = 0; level < kLevels; ++level) {
        objects.push_back(raw::array({level + 1, level + 1}, 1));
    }
    objects.push_back(raw::integer(0));
    EXPECT_EQ(PropertyList::parse(raw::assemble(objects, 0, 1)).error(),
              PropertyListError::tooComplex);
    const auto withinLimits =
        PropertyList::parse(raw::assemble({raw::array({1, 1, 1}, 1), raw::integer(9)}, 0, 1));
    ASSERT_TRUE(withinLimits.has_value());
    ASSERT_EQ(withinLimits->array()->size(), 3U);
    EXPECT_EQ(*(*withinLimits->array())[2].integer(), 9);
}

Bytes binaryChain(std::size_t containers) {
    std::vector<Bytes> objects;
    for (std::uint64_t i = 0; i < containers; ++i) {
        objects.push_back(raw::array({i + 1}, 4));
    }
    objects.push_back(raw::integer(0));
    return raw::assemble(objects, 0, 4);
}

Bytes xmlChain(std::size_t containers) {
    std::string text = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    for (std::size_t i = 0; i < containers; ++i)
        text += "<array>";
    text += "<integer>0</integer>";
    for (std::size_t i = 0; i < containers; ++i)
        text += "</array>";
    return test::bytesOf(text + "</plist>");
}

TEST(PropertyListTest, NestingIsBoundedInBothFormats) {
    const PropertyListLimits limits;
    EXPECT_TRUE(PropertyList::parse(binaryChain(limits.maxDepth)).has_value());
    EXPECT_TRUE(PropertyList::parse(xmlChain(limits.maxDepth)).has_value());
    EXPECT_EQ(PropertyList::parse(binaryChain(limits.maxDepth + 1)).error(),
              PropertyListError::tooComplex);
    EXPECT_EQ(PropertyList::parse(xmlChain(limits.maxDepth + 1)).error(),
              PropertyListError::tooComplex);
    // Deep enough to overflow the stack inside libplist if it ever got there.
    EXPECT_EQ(PropertyList::parse(binaryChain(200'000)).error(), PropertyListError::tooComplex);
    EXPECT_EQ(PropertyList::parse(xmlChain(200'000)).error(), PropertyListError::tooComplex);
}

TEST(PropertyListTest, XmlMarkupThatCannotNestIsNotCounted) {
    std::string deepComment = "<!--";
    for (int i = 0; i < 1000; ++i)
        deepComment += "<array>";
    deepComment += "-->";
    const auto text = "<?xml version=\"1.0\"?><plist version=\"1.0\">" + deepComment +
                      "<array><string><![CDATA[</array>]]></string><true/></array></plist>";
    const auto plist = PropertyList::parse(test::bytesOf(text));
    ASSERT_TRUE(plist.has_value());
    ASSERT_NE(plist->array(), nullptr);
    ASSERT_EQ(plist->array()->size(), 2U);
    EXPECT_EQ(*plist->array()->front().string(), "</array>");
}

TEST(PropertyListTest, XmlConstructsThatCouldHideNestingAreRefused) {
    for (const std::string text :
         {"<!DOCTYPE plist [ <!ENTITY a \"</array>\"> ]><plist><array/></plist>",
          "<plist><array a=\"/>\"><array/></array></plist>",
          "<plist><plist><true/></plist></plist>", "<plist><!-- unterminated <array></plist>"}) {
        EXPECT_EQ(PropertyList::parse(test::bytesOf(text)).error(),
                  PropertyListError::notAPropertyList)
            << text;
    }
}

TEST(PropertyListTest, SizeEntriesAndValuesAreBounded) {
    const PropertyListLimits small{.maxBytes = 64, .maxValues = 10, .maxEntries = 3, .maxDepth = 4};
    const auto wide =
        test::arrayOf(test::integer(0), test::integer(1), test::integer(2), test::integer(3));
    EXPECT_EQ(PropertyList::parse(test::toXml(wide), {.maxEntries = 3}).error(),
              PropertyListError::tooComplex);
    EXPECT_EQ(PropertyList::parse(test::toBinary(wide), {.maxEntries = 3}).error(),
              PropertyListError::tooComplex);
    EXPECT_EQ(PropertyList::parse(test::toXml(wide), {.maxBytes = 64}).error(),
              PropertyListError::tooComplex);
    const auto manyValues =
        raw::assemble({raw::array({1, 1, 1}, 1), raw::array({2, 2, 2}, 1), raw::integer(0)}, 0, 1);
    EXPECT_EQ(PropertyList::parse(manyValues, small).error(), PropertyListError::tooComplex);
    EXPECT_TRUE(PropertyList::parse(manyValues, {.maxValues = 13}).has_value());
}

}  // namespace
}  // namespace tilewise
