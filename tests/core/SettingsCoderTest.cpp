#include "core/SettingsCoder.h"

#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/support/Files.h"
#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using Error = SettingsCodingError;

std::string golden(std::string_view name) {
    const auto bytes = readFileBytes(testDataPath("settings/" + std::string(name)));
    EXPECT_FALSE(bytes.empty()) << "missing test data " << name;
    return bytes;
}

bool isUnreadable(const Error& error) {
    return std::holds_alternative<Error::Unreadable>(error.value);
}

TEST(SettingsCoderTest, DefaultDocumentEncodesAsGolden) {
    const auto encoded = SettingsCoder::encode(TilewiseSettings::defaults());
    ASSERT_TRUE(encoded) << encoded.error().description();
    EXPECT_EQ(*encoded, golden("default.json"));
    EXPECT_EQ(SettingsCoder::decode(*encoded), TilewiseSettings::defaults());
    EXPECT_EQ(TilewiseSettings{}, TilewiseSettings::defaults());
    EXPECT_TRUE(TilewiseSettings::defaults().validate().empty());
}

TEST(SettingsCoderTest, FullDocumentReencodesByteForByte) {
    const auto bytes = golden("full.json");
    const auto decoded = SettingsCoder::decode(bytes);
    ASSERT_TRUE(decoded) << decoded.error().description();
    ASSERT_EQ(decoded->layouts.size(), 2U);
    EXPECT_EQ(decoded->layouts[1].name, "Mitte “groß” \\ \"quoted\"");
    EXPECT_EQ(decoded->layouts[1].shortcut, std::nullopt);
    EXPECT_EQ(decoded->panelShortcut, (KeyCombo{5, {Modifiers::control, Modifiers::option}}));
    EXPECT_EQ(decoded->margins.verticalSpacing, 0.1);
    EXPECT_EQ(SettingsCoder::encode(*decoded), bytes);
}

TEST(SettingsCoderTest, HandEditedFileTakesDefaultsAndIgnoresUnknownKeys) {
    auto expected = TilewiseSettings::defaults();
    expected.grid = {8, 4};
    expected.panelPlacement = PanelPlacement::displayWithTargetWindow;
    expected.layouts = {
        {*Uuid::parse("0F8E4A52-3C1B-4D7E-9A6F-2B5C8D1E7F30"), "Right column", true, false,
         KeyCombo{124, {Modifiers::command, Modifiers::shift}}, GridSize{4, 4},
         CellSelection{3, 0, 3, 3}},
        {*Uuid::parse("A1B2C3D4-E5F6-4789-8ABC-DEF012345678"), "No shortcut", false, true,
         std::nullopt, GridSize{1, 1}, CellSelection{0, 0, 0, 0}},
    };
    EXPECT_EQ(SettingsCoder::decode(golden("hand-edited.json")), expected);
}

struct FailureCase {
    std::string file;
    std::string description;
};

class SettingsCoderFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(SettingsCoderFailureTest, RefusesWithItsDescription) {
    const auto decoded = SettingsCoder::decode(golden(GetParam().file));
    ASSERT_FALSE(decoded) << "decoded " << testing::PrintToString(*decoded);
    EXPECT_EQ(decoded.error().description(), GetParam().description);
}

const std::string kUnreadable = "The settings file could not be read: ";

INSTANTIATE_TEST_SUITE_P(
    SettingsCoderTest, SettingsCoderFailureTest,
    testing::Values(
        FailureCase{"unreadable-top-level-array.json",
                    kUnreadable + "document: expected an object, found array"},
        FailureCase{"unreadable-wrong-type.json",
                    kUnreadable + "keepPanelOpen: expected a boolean, found string"},
        FailureCase{"unreadable-key-code-range.json",
                    kUnreadable + "panelShortcut.keyCode: 70000 is not an unsigned 16-bit integer"},
        FailureCase{"unreadable-negative-modifiers.json",
                    kUnreadable + "panelShortcut.modifiers: -1 is not an unsigned 64-bit integer"},
        FailureCase{"unreadable-fractional-columns.json",
                    kUnreadable + "grid.columns: 6.5 is not a signed 64-bit integer"},
        FailureCase{"unreadable-missing-rows.json", kUnreadable + "grid.rows: key is missing"},
        FailureCase{"unreadable-unknown-placement.json",
                    kUnreadable + "panelPlacement: “displayUnderPointer” names no panel placement"},
        FailureCase{"unreadable-layout-without-is-global.json",
                    kUnreadable + "layouts[0].isGlobal: key is missing"},
        FailureCase{"unreadable-bad-uuid.json",
                    kUnreadable + "layouts[0].id: “not-a-uuid” is not a UUID"},
        FailureCase{"invalid-newer-version.json",
                    "Settings were written by a newer Tilewise (format version 2)."},
        FailureCase{"invalid-grid-and-layout.json",
                    "The grid must have between 1 and 30 rows and columns.\n"
                    "Layout “Too wide” has a selection outside its grid."}));

TEST(SettingsCoderTest, BytesThatAreNotJsonAreUnreadableWithTheParserText) {
    for (const auto* file :
         {"unreadable-empty.json", "unreadable-not-json.json", "unreadable-truncated.json"}) {
        const auto decoded =
            SettingsCoder::decode(readFileBytes(testDataPath(std::string("settings/") + file)));
        ASSERT_FALSE(decoded) << file;
        EXPECT_TRUE(isUnreadable(decoded.error())) << file;
        const auto description = decoded.error().description();
        EXPECT_TRUE(description.starts_with(kUnreadable + "parse error")) << description;
        EXPECT_EQ(description.find("[json.exception"), std::string::npos) << description;
    }
}

TEST(SettingsCoderTest, InvalidCarriesOnlyTheFatalIssues) {
    const auto decoded = SettingsCoder::decode(R"({"grid": {"columns": 31, "rows": 2},
        "layouts": [{"id": "0F8E4A52-3C1B-4D7E-9A6F-2B5C8D1E7F30", "name": "Bare",
        "enabled": true, "isGlobal": true, "shortcut": {"keyCode": 0, "modifiers": 0},
        "grid": {"columns": 1, "rows": 1},
        "selection": {"startColumn": 0, "startRow": 0, "endColumn": 0, "endRow": 0}}]})");
    ASSERT_FALSE(decoded);
    EXPECT_EQ(decoded.error(),
              (Error{Error::Invalid{{SettingsIssue{SettingsIssue::InvalidGrid{}}}}}));
}

TEST(SettingsCoderTest, MissingOrNullTopLevelKeysAndOldVersionsTakeDefaults) {
    for (const auto* text : {"{}", R"({"schemaVersion": 0})", R"({"schemaVersion": -7})"}) {
        EXPECT_EQ(SettingsCoder::decode(text), TilewiseSettings::defaults()) << text;
    }
    EXPECT_EQ(SettingsCoder::decode(R"({"schemaVersion": null, "grid": null, "margins": null,
        "animationsEnabled": null, "showResizePreview": null, "keepPanelOpen": null,
        "selectOnScreen": null, "panelShortcutEnabled": null, "panelShortcut": null,
        "monitorCycling": null, "showMenuBarIcon": null, "launchAtLogin": null,
        "panelPlacement": null, "layouts": null})"),
              TilewiseSettings::defaults());
}

TEST(SettingsCoderTest, SharedShortcutsAreNoReasonToRefuse) {
    auto settings = TilewiseSettings::defaults();
    const KeyCombo shared{0, Modifiers::command};
    for (const auto* name : {"One", "Two"}) {
        settings.layouts.push_back(
            {Uuid::random(), name, true, true, shared, GridSize{2, 2}, CellSelection{0, 0, 1, 1}});
    }
    const auto encoded = SettingsCoder::encode(settings);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(SettingsCoder::decode(*encoded), settings);
}

TEST(SettingsCoderTest, EncodingNeitherValidatesNorChangesTheDocument) {
    auto settings = TilewiseSettings::defaults();
    settings.schemaVersion = -3;
    settings.grid = {0, 99};
    settings.margins.screen.top = -20;
    const auto encoded = SettingsCoder::encode(settings);
    ASSERT_TRUE(encoded);
    EXPECT_NE(encoded->find("\"schemaVersion\": -3"), std::string::npos) << *encoded;
    EXPECT_NE(encoded->find("\"rows\": 99"), std::string::npos) << *encoded;
    EXPECT_NE(encoded->find("\"top\": -20.0"), std::string::npos) << *encoded;
}

TEST(SettingsCoderTest, EncodingRefusesNonFiniteMarginsInsteadOfWritingNull) {
    for (const double bad :
         {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()}) {
        auto settings = TilewiseSettings::defaults();
        settings.margins.horizontalSpacing = bad;
        const auto encoded = SettingsCoder::encode(settings);
        ASSERT_FALSE(encoded) << *encoded;
        EXPECT_NE(encoded.error().description().find("margins.horizontalSpacing"),
                  std::string::npos)
            << encoded.error().description();
    }
}

TEST(SettingsCoderTest, EncodingRefusesANameThatIsNotUtf8) {
    auto settings = TilewiseSettings::defaults();
    settings.layouts.push_back({Uuid::random(), "bad \xC3\x28 name", false, false, std::nullopt,
                                GridSize{1, 1}, CellSelection{0, 0, 0, 0}});
    const auto encoded = SettingsCoder::encode(settings);
    ASSERT_FALSE(encoded);
    EXPECT_TRUE(encoded.error().description().starts_with("The settings could not be written: "));
}

class RandomDocuments {
  public:
    explicit RandomDocuments(std::uint64_t seed) : engine_(seed) {}

    TilewiseSettings next() {
        TilewiseSettings settings;
        settings.grid = grid();
        settings.margins = {flip(), {points(), points(), points(), points()}, points(), points()};
        settings.animationsEnabled = flip();
        settings.showResizePreview = flip();
        settings.keepPanelOpen = flip();
        settings.selectOnScreen = flip();
        settings.panelShortcutEnabled = flip();
        settings.panelShortcut = shortcut();
        settings.monitorCycling = flip();
        settings.showMenuBarIcon = flip();
        settings.launchAtLogin = flip();
        settings.panelPlacement = kAllPanelPlacements[integer(0, 1)];
        const auto count = integer(0, 12);
        for (std::int64_t i = 0; i < count; ++i) {
            settings.layouts.push_back(layout());
        }
        return settings;
    }

  private:
    std::int64_t integer(std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>{low, high}(engine_);
    }
    bool flip() { return integer(0, 1) == 1; }
    double points() {
        return std::uniform_real_distribution<double>{0, Margins::kLargestValue}(engine_);
    }
    GridSize grid() {
        return {integer(GridSize::minimum, GridSize::maximum),
                integer(GridSize::minimum, GridSize::maximum)};
    }
    std::optional<KeyCombo> shortcut() {
        if (integer(0, 3) == 0)
            return std::nullopt;
        return KeyCombo{static_cast<std::uint16_t>(integer(0, 65535)),
                        Modifiers{static_cast<std::uint64_t>(integer(0, 0x3FFFFF))}};
    }
    std::string name() {
        static const std::vector<std::string> pieces{
            "Left",    "½",    "\"",         "\\", "\n", "\t",  "\u00e9",
            "e\u0301", "日本", "\U0001F600", " ",  "/",  "\x01"};
        std::string text;
        for (auto n = integer(0, 5); n > 0; --n) {
            text += pieces[static_cast<std::size_t>(integer(0, std::ssize(pieces) - 1))];
        }
        return text;
    }
    SavedLayout layout() {
        const auto g = grid();
        const GridCell a{integer(0, g.columns - 1), integer(0, g.rows - 1)};
        const GridCell b{integer(0, g.columns - 1), integer(0, g.rows - 1)};
        return {Uuid::random(), name(), flip(), flip(), shortcut(), g, CellSelection{a, b}};
    }

    std::mt19937_64 engine_;
};

TEST(SettingsCoderTest, RandomValidDocumentsRoundTrip) {
    RandomDocuments documents{20261206};
    for (int i = 0; i < 300; ++i) {
        const auto settings = documents.next();
        const auto encoded = SettingsCoder::encode(settings);
        ASSERT_TRUE(encoded) << encoded.error().description();
        const auto decoded = SettingsCoder::decode(*encoded);
        ASSERT_TRUE(decoded) << decoded.error().description() << "\n" << *encoded;
        ASSERT_EQ(*decoded, settings) << *encoded;
    }
}

// Whatever decode returns must be a whole, loadable document that saves and loads unchanged.
void expectWholeDocumentOrError(std::string_view bytes) {
    const auto decoded = SettingsCoder::decode(bytes);
    if (!decoded)
        return;
    EXPECT_GE(decoded->schemaVersion, 1);
    for (const auto& issue : decoded->validate()) {
        EXPECT_FALSE(issue.isFatal()) << issue.description() << "\n" << bytes;
    }
    const auto encoded = SettingsCoder::encode(*decoded);
    ASSERT_TRUE(encoded) << encoded.error().description() << "\n" << bytes;
    EXPECT_EQ(SettingsCoder::decode(*encoded), decoded) << bytes;
}

TEST(SettingsCoderTest, EveryTruncationOfAFileIsRefused) {
    const auto bytes = golden("full.json");
    const auto end = bytes.find_last_of('}');
    for (std::size_t length = 0; length <= end; ++length) {
        const auto decoded = SettingsCoder::decode(std::string_view(bytes).substr(0, length));
        EXPECT_FALSE(decoded) << "prefix of " << length << " bytes decoded";
    }
}

TEST(SettingsCoderTest, NestingBeyondTheLimitIsRefusedBeforeParsing) {
    const auto nested = [](std::size_t depth) {
        return R"({"unknown": )" + std::string(depth - 1, '[') + std::string(depth - 1, ']') +
               R"(, "text": "[[[\"{{"})";
    };
    EXPECT_EQ(SettingsCoder::decode(nested(SettingsCoder::kMaximumNesting)),
              TilewiseSettings::defaults());
    const auto deeper = SettingsCoder::decode(nested(SettingsCoder::kMaximumNesting + 1));
    ASSERT_FALSE(deeper);
    EXPECT_EQ(deeper.error().description(),
              kUnreadable + "arrays and objects are nested more than " +
                  std::to_string(SettingsCoder::kMaximumNesting) + " levels deep");
    const auto unclosed = SettingsCoder::decode(R"({"unknown": )" + std::string(10, '['));
    ASSERT_FALSE(unclosed);
    EXPECT_TRUE(isUnreadable(unclosed.error()));
}

// A single layout whose name makes the compact form of the document exactly `size` bytes.
TilewiseSettings documentOfCompactSize(std::size_t size) {
    auto settings = TilewiseSettings::defaults();
    settings.layouts.push_back({Uuid::random(), "", false, false, std::nullopt, GridSize{1, 1},
                                CellSelection{0, 0, 0, 0}});
    const auto empty = nlohmann::json::parse(SettingsCoder::encode(settings).value()).dump();
    settings.layouts.front().name.assign(size - empty.size() - 1, 'n');
    return settings;
}

TEST(SettingsCoderTest, WhatTheEncoderWritesTheDecoderReads) {
    const auto limit = SettingsCoder::kMaximumDocumentSize;
    const auto largest = documentOfCompactSize(limit);
    const auto encoded = SettingsCoder::encode(largest);
    ASSERT_TRUE(encoded) << encoded.error().description();
    EXPECT_EQ(encoded->size(), limit);
    EXPECT_EQ(SettingsCoder::decode(*encoded), largest);
    const auto tooLarge = SettingsCoder::encode(documentOfCompactSize(limit + 1));
    ASSERT_FALSE(tooLarge);
    EXPECT_EQ(tooLarge.error().description(),
              "The settings could not be written: they would take " + std::to_string(limit + 1) +
                  " bytes, more than the " + std::to_string(limit) + " a settings file may hold.");
    const auto decoded = SettingsCoder::decode(*encoded + " ");
    ASSERT_FALSE(decoded);
    EXPECT_TRUE(decoded.error().description().starts_with(kUnreadable + "the file is "));
}

TEST(SettingsCoderTest, HugeNumbersAndTrailingBytesAreRefusedNotWrappedOrIgnored) {
    const std::string refused[] = {
        std::string("{}\0garbage", 10),
        std::string("{}\0", 3),
        "{} x",
        std::string("{\"a\": \"\0\"}", 10),
        R"({"grid": {"columns": 1e400, "rows": 6}})",
        R"({"grid": {"columns": 123456789012345678901234567890, "rows": 6}})",
        R"({"grid": {"columns": 18446744073709551616, "rows": 6}})",
        R"({"schemaVersion": 9223372036854775808})",
        R"({"panelShortcut": {"keyCode": 65536, "modifiers": 0}})",
        R"({"panelShortcut": {"keyCode": 4, "modifiers": 1e20}})",
        R"({"margins": {"enabled": true, "horizontalSpacing": 1e999,
                                 "verticalSpacing": 0, "screen": {"top": 0, "left": 0,
                                 "bottom": 0, "right": 0}}})"};
    for (const auto& text : refused) {
        const auto decoded = SettingsCoder::decode(text);
        ASSERT_FALSE(decoded) << testing::PrintToString(text);
        EXPECT_TRUE(isUnreadable(decoded.error())) << decoded.error().description();
    }
    const auto largeMargin = SettingsCoder::decode(R"({"margins": {"enabled": true,
        "horizontalSpacing": 1e308, "verticalSpacing": 0,
        "screen": {"top": 0, "left": 0, "bottom": 0, "right": 0}}})");
    ASSERT_FALSE(largeMargin);
    EXPECT_EQ(largeMargin.error(),
              (Error{Error::Invalid{{SettingsIssue{SettingsIssue::InvalidMargins{}}}}}));
}

TEST(SettingsCoderTest, WholeNumbersWrittenWithAFractionReadAsIntegers) {
    const auto decoded = SettingsCoder::decode(
        R"({"grid": {"columns": 12.0, "rows": 1e1},
            "panelShortcut": {"keyCode": 4.0, "modifiers": 1048576.0}})");
    ASSERT_TRUE(decoded) << decoded.error().description();
    EXPECT_EQ(decoded->grid, (GridSize{12, 10}));
    EXPECT_EQ(decoded->panelShortcut, (KeyCombo{4, Modifiers::command}));
}

TEST(SettingsCoderTest, FilesWithFlippedBytesDecodeWholeOrNotAtAll) {
    const auto original = golden("full.json");
    std::mt19937_64 engine{7};
    std::uniform_int_distribution<std::size_t> position{0, original.size() - 1};
    std::uniform_int_distribution<int> byte{0, 255};
    for (int i = 0; i < 3000; ++i) {
        auto bytes = original;
        for (int flips = 1 + i % 4; flips > 0; --flips) {
            bytes[position(engine)] = static_cast<char>(byte(engine));
        }
        expectWholeDocumentOrError(bytes);
    }
}

// Every value of a JSON document, with the object or array that holds it.
void collectSlots(nlohmann::json& value,
                  std::vector<std::pair<nlohmann::json*, std::string>>& slots) {
    if (value.is_object()) {
        for (auto& [key, member] : value.items()) {
            slots.emplace_back(&value, key);
            collectSlots(member, slots);
        }
    } else if (value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            slots.emplace_back(&value, std::to_string(i));
            collectSlots(value[i], slots);
        }
    }
}

// Replaces or removes one value anywhere in the document, so that reading meets every kind of
// wrong, missing, null and out-of-range value in every place.
std::string mutatedDocument(const std::string& original, std::mt19937_64& engine) {
    static const auto replacements = nlohmann::json::parse(R"([null, true, "displayUnderMouse",
        0, -1, 1, 30, 31, 65535, 65536, 4.5, 500.0, 1e300, -9223372036854775808,
        18446744073709551615, {}, [], [{}], {"columns": 2}])");
    auto document = nlohmann::json::parse(original);
    std::vector<std::pair<nlohmann::json*, std::string>> slots;
    collectSlots(document, slots);
    const auto& [holder, key] = slots[engine() % slots.size()];
    const auto& replacement = replacements[engine() % replacements.size()];
    if (holder->is_object() && engine() % 4 == 0) {
        holder->erase(key);
    } else if (holder->is_object()) {
        (*holder)[key] = replacement;
    } else {
        (*holder)[std::stoul(key)] = replacement;
    }
    return document.dump(engine() % 2 == 0 ? 2 : -1);
}

TEST(SettingsCoderTest, DocumentsWithAnyValueReplacedDecodeWholeOrNotAtAll) {
    const auto original = golden("full.json");
    std::mt19937_64 engine{11};
    int decoded = 0;
    for (int i = 0; i < 3000; ++i) {
        const auto bytes = mutatedDocument(original, engine);
        expectWholeDocumentOrError(bytes);
        decoded += SettingsCoder::decode(bytes).has_value();
    }
    EXPECT_GT(decoded, 300) << "too few mutations decoded to exercise the round trip";
}

}  // namespace
}  // namespace tilewise
