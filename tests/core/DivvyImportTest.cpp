#include "core/DivvyImport.h"

#include <algorithm>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/DivvyArchive.h"
#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using DivvyImport::ImportError;
using Record = test::DivvyRecord;
using test::DivvyArchive;
using test::Entries;

constexpr std::uint64_t kFunctionKeyBit = 0x800000;
constexpr std::uint64_t kCapsLockBit = 0x10000;

// The one layout the archive imports as; throws (failing the test) otherwise.
SavedLayout onlyLayout(const test::Bytes& bytes) {
    const auto layouts = DivvyImport::layouts(bytes);
    if (!layouts || layouts->size() != 1)
        throw std::runtime_error("the archive did not import as one layout");
    return layouts->front();
}

test::Bytes archiveOf(std::initializer_list<Record> records,
                      const std::string& rootClass = "NSMutableArray") {
    DivvyArchive archive;
    for (const auto& record : records)
        archive.add(record);
    return archive.bytes(rootClass);
}

SavedLayout importOne(const Record& record) {
    return onlyLayout(archiveOf({record}));
}

ImportError failureOf(const test::Bytes& bytes) {
    const auto layouts = DivvyImport::layouts(bytes);
    EXPECT_FALSE(layouts.has_value());
    return layouts.has_value() ? ImportError{} : layouts.error();
}

TEST(DivvyImportTest, ImportsARecordWithEveryField) {
    const Record record;
    const SavedLayout layout = importOne(record);
    EXPECT_EQ(layout.name, "Left");
    EXPECT_TRUE(layout.enabled);
    EXPECT_TRUE(layout.isGlobal);
    EXPECT_EQ(layout.grid, (GridSize{record.columns, record.rows}));
    EXPECT_EQ(layout.selection,
              CellSelection(record.startColumn, record.startRow, record.endColumn, record.endRow));
    EXPECT_EQ(layout.shortcut,
              (KeyCombo{123, Modifiers{static_cast<std::uint64_t>(record.flags)}}));
}

TEST(DivvyImportTest, CornersStoredInEitherOrderAreNormalised) {
    const auto layout = importOne({.startColumn = 4, .startRow = 5, .endColumn = 1, .endRow = 2});
    EXPECT_EQ(layout.selection, CellSelection(1, 2, 4, 5));
}

TEST(DivvyImportTest, OneUnusableRecordFailsTheWholeArchive) {
    for (const Record& bad : {Record{.columns = 0}, Record{.rows = 31}, Record{.endRow = 6},
                              Record{.startColumn = -1}, Record{.columns = 4, .endColumn = 4}}) {
        EXPECT_EQ(failureOf(archiveOf({{.name = "Fine"}, bad})), ImportError::unexpectedContents);
    }
}

TEST(DivvyImportTest, MissingNameIsUntitledButAnEmptyNameIsKept) {
    EXPECT_EQ(importOne({.name = std::nullopt}).name, "Untitled");
    EXPECT_EQ(importOne({.name = ""}).name, "");
    DivvyArchive nilName;
    auto fields = nilName.entries({.name = std::nullopt});
    fields.emplace_back("nameKey", test::uid(0));
    nilName.addObject(std::move(fields));
    EXPECT_EQ(onlyLayout(nilName.bytes()).name, "Untitled");
}

TEST(DivvyImportTest, MissingKeysReadAsZeroAndFalse) {
    DivvyArchive archive;
    Entries fields;
    fields.emplace_back("sizeColumns", test::integer(3));
    fields.emplace_back("sizeRows", test::integer(2));
    archive.addObject(std::move(fields));
    const SavedLayout layout = onlyLayout(archive.bytes());
    EXPECT_EQ(layout.selection, CellSelection(0, 0, 0, 0));
    EXPECT_FALSE(layout.enabled);
    EXPECT_FALSE(layout.isGlobal);
    EXPECT_EQ(layout.shortcut, std::nullopt);
    EXPECT_EQ(layout.grid, (GridSize{3, 2}));
}

TEST(DivvyImportTest, OutOfRangeKeysLeaveTheLayoutWithoutShortcut) {
    for (const Record& record : {Record{.keyCode = std::nullopt}, Record{.keyCode = 70000},
                                 Record{.keyCode = -1}, Record{.flags = -1}}) {
        EXPECT_EQ(importOne(record).shortcut, std::nullopt);
    }
    EXPECT_EQ(importOne({.keyCode = 65535}).shortcut,
              (KeyCombo{65535, Modifiers::control | Modifiers::option}));
}

TEST(DivvyImportTest, KeepsOnlyTheFourModifierBits) {
    const auto commandOption = Modifiers::command | Modifiers::option;
    const auto flags = commandOption.rawValue() | kCapsLockBit | kFunctionKeyBit;
    const auto layout = importOne({.flags = static_cast<std::int64_t>(flags)});
    EXPECT_EQ(layout.shortcut, (KeyCombo{123, commandOption}));
}

TEST(DivvyImportTest, SubdividedRecordsAddressAGridTwiceAsFine) {
    const auto middleHalf = importOne({.columns = 10,
                                       .rows = 10,
                                       .startColumn = 5,
                                       .endColumn = 14,
                                       .endRow = 19,
                                       .subdivided = true});
    EXPECT_EQ(middleHalf.grid, (GridSize{20, 20}));
    EXPECT_EQ(middleHalf.selection, CellSelection(5, 0, 14, 19));
    // Small indices would fit the stored grid too, but they still mean the finer cells.
    const auto quarter = importOne({.columns = 6, .rows = 6, .endColumn = 2, .subdivided = true});
    EXPECT_EQ(quarter.grid, (GridSize{12, 12}));
    EXPECT_EQ(quarter.selection.normalized(quarter.grid).maxX, 0.25);
    for (const Record& unusable : {Record{.columns = 16, .subdivided = true},
                                   Record{.columns = 10, .endColumn = 20, .subdivided = true}}) {
        EXPECT_EQ(failureOf(archiveOf({unusable})), ImportError::unexpectedContents);
    }
}

TEST(DivvyImportTest, RecordsMayShareTheirNameObject) {
    DivvyArchive archive;
    const auto shared = archive.addName("Same");
    for (int i = 0; i < 2; ++i) {
        auto fields = archive.entries({.name = std::nullopt});
        fields.emplace_back("nameKey", test::uid(shared));
        archive.addObject(std::move(fields));
    }
    const auto layouts = DivvyImport::layouts(archive.bytes());
    ASSERT_TRUE(layouts.has_value());
    ASSERT_EQ(layouts->size(), 2U);
    EXPECT_EQ((*layouts)[0].name, "Same");
    EXPECT_EQ((*layouts)[1].name, "Same");
}

TEST(DivvyImportTest, EveryImportGivesFreshIds) {
    const auto bytes = archiveOf({{.name = "A"}, {.name = "B"}});
    const auto first = DivvyImport::layouts(bytes);
    const auto second = DivvyImport::layouts(bytes);
    ASSERT_TRUE(first && second);
    std::set<Uuid> ids;
    for (const auto* run : {&*first, &*second}) {
        for (const auto& layout : *run)
            ids.insert(layout.id);
    }
    EXPECT_EQ(ids.size(), 4U);
}

TEST(DivvyImportTest, AcceptsEitherArrayClassAndTheXmlForm) {
    EXPECT_EQ(onlyLayout(archiveOf({{}}, "NSArray")).name, "Left");
    DivvyArchive xml;
    xml.add({.name = "From XML"});
    EXPECT_EQ(onlyLayout(test::toXml(xml.archive())).name, "From XML");
}

TEST(DivvyImportTest, BytesThatAreNoKeyedArchiveAreNotAnArchive) {
    EXPECT_EQ(failureOf({}), ImportError::notAnArchive);
    EXPECT_EQ(failureOf(test::bytesOf("arbitrary bytes, not a property list")),
              ImportError::notAnArchive);
    std::vector<test::Node> plain;
    plain.push_back(test::string("no archive"));
    EXPECT_EQ(failureOf(test::toBinary(test::array(std::move(plain)))), ImportError::notAnArchive);
}

TEST(DivvyImportTest, ARootThatIsNoArrayIsUnexpected) {
    test::KeyedArchiveBuilder stringRoot;
    stringRoot.setRoot(stringRoot.addString("just a string"));
    EXPECT_EQ(failureOf(stringRoot.binary()), ImportError::unexpectedContents);
    test::KeyedArchiveBuilder nilRoot;
    EXPECT_EQ(failureOf(nilRoot.binary()), ImportError::unexpectedContents);
    EXPECT_EQ(failureOf(archiveOf({{}}, "NSDictionary")), ImportError::unexpectedContents);
}

TEST(DivvyImportTest, ElementsOfAnotherClassOrCyclesAreUnexpected) {
    DivvyArchive otherClass;
    otherClass.add({});
    otherClass.addObject(otherClass.entries({}), "NSColor");
    EXPECT_EQ(failureOf(otherClass.bytes()), ImportError::unexpectedContents);

    DivvyArchive stringElement;
    stringElement.addElement(stringElement.addName("not a shortcut"));
    EXPECT_EQ(failureOf(stringElement.bytes()), ImportError::unexpectedContents);

    DivvyArchive containsItself;
    containsItself.add({});
    containsItself.addElement(containsItself.nextIndex());  // the root array, added last
    EXPECT_EQ(failureOf(containsItself.bytes()), ImportError::unexpectedContents);

    DivvyArchive namedByItself;
    auto fields = namedByItself.entries({.name = std::nullopt});
    fields.emplace_back("nameKey", test::uid(namedByItself.nextIndex()));
    namedByItself.addObject(std::move(fields));
    EXPECT_EQ(failureOf(namedByItself.bytes()), ImportError::unexpectedContents);
}

TEST(DivvyImportTest, AWrongTypeAtAnyKeyIsUnexpected) {
    // Every key a full record holds, so that a key added to records is checked too.
    for (const auto& field : DivvyArchive{}.entries({})) {
        const std::string& key = field.first;
        for (int variant = 0; variant < 2; ++variant) {
            DivvyArchive archive;
            auto fields = archive.entries({});
            std::erase_if(fields, [&](const auto& other) { return other.first == key; });
            fields.emplace_back(key, variant == 0 ? test::real(1.0) : test::uid(999));
            archive.addObject(std::move(fields));
            EXPECT_EQ(failureOf(archive.bytes()), ImportError::unexpectedContents) << key;
        }
    }
}

std::vector<SavedLayout> importSample(const std::string& name) {
    const auto bytes =
        test::readFile(test::divvySamples() / "matthewmcvickar-setup" / (name + ".archive.bplist"));
    const auto layouts = DivvyImport::layouts(bytes);
    EXPECT_TRUE(layouts.has_value()) << name;
    return layouts.value_or(std::vector<SavedLayout>{});
}

const SavedLayout& named(const std::vector<SavedLayout>& layouts, const std::string& name) {
    const auto found = std::find_if(layouts.begin(), layouts.end(),
                                    [&](const SavedLayout& layout) { return layout.name == name; });
    if (found == layouts.end())
        throw std::runtime_error("no layout named " + name);
    return *found;
}

TEST(DivvyImportTest, EveryPublishedArchiveImports) {
    TILEWISE_REQUIRE_DIVVY_SAMPLES();
    std::size_t archives = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(test::divvySamples() / "matthewmcvickar-setup")) {
        if (entry.path().extension() != ".bplist")
            continue;
        ++archives;
        const auto layouts = DivvyImport::layouts(test::readFile(entry.path()));
        ASSERT_TRUE(layouts.has_value()) << entry.path();
        EXPECT_FALSE(layouts->empty()) << entry.path();
    }
    EXPECT_EQ(archives, 9U);
}

TEST(DivvyImportTest, PublishedArchivesGiveTheExpectedLayouts) {
    TILEWISE_REQUIRE_DIVVY_SAMPLES();
    const auto control = Modifiers::control | Modifiers::option | Modifiers::command;
    const std::string early = "20140711-125949-9d17061a", late = "20190218-221358-f5558b61";
    const std::tuple<std::string, std::string, GridSize, CellSelection, KeyCombo> expected[] = {
        {early, "Full Screen", {10, 10}, {0, 0, 9, 9}, {109, Modifiers::option}},
        {early, "Writing", {20, 20}, {5, 0, 14, 19}, {109, control}},
        {early, "Left Half", {10, 10}, {0, 0, 4, 9}, {22, control}},
        {late, "Left Right Bottom Margin ", {20, 20}, {2, 0, 17, 17}, {28, control}},
        {late, "Right Third", {20, 20}, {13, 0, 19, 19}, {20, control}}};
    for (const auto& [archive, name, grid, selection, shortcut] : expected) {
        const auto layouts = importSample(archive);
        const auto& layout = named(layouts, name);
        EXPECT_EQ(layout.grid, grid) << name;
        EXPECT_EQ(layout.selection, selection) << name;
        EXPECT_EQ(layout.shortcut, shortcut) << name;
    }
}

TEST(DivvyImportTest, ErrorsAreShownByTheirCaseNames) {
    EXPECT_EQ(DivvyImport::caseName(ImportError::notAnArchive), "notAnArchive");
    EXPECT_EQ(DivvyImport::caseName(ImportError::unexpectedContents), "unexpectedContents");
}

}  // namespace
}  // namespace tilewise
