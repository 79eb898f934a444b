#include "core/KeyedArchive.h"

#include <gtest/gtest.h>

#include "tests/support/PlistBuilders.h"

namespace tilewise {
namespace {

using test::KeyedArchiveBuilder;

// An array root holding one object with a value of each kind and a shared string.
struct SampleArchive {
    KeyedArchiveBuilder builder;
    std::uint64_t itemClass = builder.addClass("Item", {"Item", "NSObject"});
    std::uint64_t arrayClass = builder.addClass("NSMutableArray", {"NSMutableArray", "NSArray"});
    std::uint64_t mutableStringClass = builder.addClass("NSMutableString", {"NSMutableString"});
    std::uint64_t title = builder.addString("Title");
    std::uint64_t mutableTitle = builder.add(test::dictionaryOf(
        "NS.string", test::string("Mutable"), "$class", test::uid(mutableStringClass)));

    SampleArchive() {
        const auto item = builder.add(test::dictionaryOf(
            "count", test::integer(-3), "flag", test::boolean(true), "name", test::uid(title),
            "alias", test::uid(title), "nothing", test::uid(0), "mutable", test::uid(mutableTitle),
            "beyond", test::uid(999), "$class", test::uid(itemClass)));
        builder.setRoot(builder.addArray(arrayClass, {item, item}));
    }
};

void expectSampleStructure(const test::Bytes& bytes);

TEST(KeyedArchiveTest, ResolvesTheRootArrayAndItsClassesInBothFormats) {
    SampleArchive sample;
    for (const auto& bytes : {sample.builder.binary(), test::toXml(sample.builder.archive())}) {
        expectSampleStructure(bytes);
    }
}

void expectSampleStructure(const test::Bytes& bytes) {
    const auto archive = KeyedArchive::open(bytes);
    ASSERT_TRUE(archive.has_value());
    const auto root = archive->root();
    ASSERT_TRUE(root.has_value());
    ASSERT_NE(*root, nullptr);
    EXPECT_EQ(archive->className(**root), "NSMutableArray");
    const auto elements = archive->arrayElements(**root);
    ASSERT_TRUE(elements.has_value());
    ASSERT_EQ(elements->size(), 2U);
    EXPECT_EQ((*elements)[0], (*elements)[1]);
    EXPECT_EQ(archive->className(*(*elements)[0]), "Item");
}

TEST(KeyedArchiveTest, DecodesValuesWithTheKeyedCodersRulesAndRefusesWrongTypes) {
    SampleArchive sample;
    const auto archive = KeyedArchive::open(sample.builder.binary());
    ASSERT_TRUE(archive.has_value());
    const PropertyList& item = *(*archive->arrayElements(**archive->root()))[0];
    EXPECT_EQ(archive->integer(item, "count").value(), std::optional<std::int64_t>{-3});
    EXPECT_EQ(archive->boolean(item, "flag").value(), std::optional<bool>{true});
    EXPECT_EQ(archive->string(item, "name").value(), std::optional<std::string>{"Title"});
    EXPECT_EQ(archive->string(item, "alias").value(), std::optional<std::string>{"Title"});
    EXPECT_EQ(archive->string(item, "mutable").value(), std::optional<std::string>{"Mutable"});
    EXPECT_EQ(archive->string(item, "nothing").value(), std::optional<std::string>{});
    EXPECT_EQ(archive->integer(item, "missing").value(), std::optional<std::int64_t>{});
    EXPECT_EQ(archive->boolean(item, "missing").value(), std::optional<bool>{});
    EXPECT_EQ(archive->string(item, "missing").value(), std::optional<std::string>{});

    const auto malformed = std::unexpected(KeyedArchiveError::malformed);
    EXPECT_EQ(archive->integer(item, "flag"), malformed);
    EXPECT_EQ(archive->integer(item, "name"), malformed);
    EXPECT_EQ(archive->boolean(item, "count"), malformed);
    EXPECT_EQ(archive->string(item, "count"), malformed);
    EXPECT_EQ(archive->string(item, "beyond"), malformed);
    EXPECT_FALSE(archive->arrayElements(item).has_value());
    EXPECT_FALSE(archive->className(*item.find("count")).has_value());
}

TEST(KeyedArchiveTest, AReferenceToAReferenceIsNeverFollowed) {
    KeyedArchiveBuilder builder;
    const auto arrayClass = builder.addClass("NSArray", {"NSArray", "NSObject"});
    const auto loop = builder.add(test::uid(0));
    builder.replace(loop, test::uid(loop));
    builder.setRoot(builder.addArray(arrayClass, {loop}));
    const auto archive = KeyedArchive::open(builder.binary());
    ASSERT_TRUE(archive.has_value());
    EXPECT_EQ(archive->arrayElements(**archive->root()).error(), KeyedArchiveError::malformed);
}

TEST(KeyedArchiveTest, AnObjectThatIsItsOwnClassHasNoClassName) {
    KeyedArchiveBuilder builder;
    const auto self = builder.nextIndex();
    builder.add(test::dictionaryOf("$class", test::uid(self)));
    builder.setRoot(self);
    const auto archive = KeyedArchive::open(builder.binary());
    ASSERT_TRUE(archive.has_value());
    EXPECT_EQ(archive->className(**archive->root()).error(), KeyedArchiveError::malformed);
}

TEST(KeyedArchiveTest, ANilOrMissingRootIsNull) {
    KeyedArchiveBuilder nilRoot;
    const auto archive = KeyedArchive::open(nilRoot.binary());
    ASSERT_TRUE(archive.has_value());
    EXPECT_EQ(archive->root(), nullptr);

    KeyedArchiveBuilder noRoot;
    const auto withoutRoot =
        KeyedArchive::open(test::toBinary(noRoot.archive(test::dictionary({}))));
    ASSERT_TRUE(withoutRoot.has_value());
    EXPECT_EQ(withoutRoot->root(), nullptr);
}

TEST(KeyedArchiveTest, RequiresTheKeyedArchiveLayout) {
    EXPECT_EQ(KeyedArchive::open(test::bytesOf("not a plist")).error(),
              KeyedArchiveError::notAnArchive);
    KeyedArchiveBuilder builder;
    auto withArchiver = [&](const char* archiver) {
        auto plist = builder.archive();
        plist_dict_set_item(static_cast<plist_t>(plist.get()), "$archiver",
                            plist_new_string(archiver));
        return test::toBinary(plist);
    };
    EXPECT_TRUE(KeyedArchive::open(withArchiver("NSKeyedArchiver")).has_value());
    EXPECT_EQ(KeyedArchive::open(withArchiver("NSArchiver")).error(),
              KeyedArchiveError::notAnArchive);
    for (const char* key : {"$version", "$top", "$objects"}) {
        auto plist = builder.archive();
        plist_dict_remove_item(static_cast<plist_t>(plist.get()), key);
        EXPECT_EQ(KeyedArchive::open(test::toBinary(plist)).error(),
                  KeyedArchiveError::notAnArchive)
            << key;
    }
    EXPECT_EQ(KeyedArchive::open(test::toBinary(test::arrayOf())).error(),
              KeyedArchiveError::notAnArchive);
}

}  // namespace
}  // namespace tilewise
