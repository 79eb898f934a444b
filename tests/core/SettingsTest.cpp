#include "core/Settings.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise {
namespace {

using Issue = SettingsIssue;

const KeyCombo kCommandA{0, Modifiers::command};
const KeyCombo kShiftA{0, Modifiers::shift};
const KeyCombo kShiftKey{56, Modifiers::command};

SavedLayout layout(std::string name, std::optional<KeyCombo> shortcut, bool isGlobal = true,
                   bool enabled = true) {
    const GridSize grid{4, 4};
    return {Uuid::random(), std::move(name),          enabled, isGlobal, shortcut,
            grid,           CellSelection::full(grid)};
}

TilewiseSettings withLayouts(std::vector<SavedLayout> layouts) {
    auto settings = TilewiseSettings::defaults();
    settings.layouts = std::move(layouts);
    return settings;
}

TEST(SettingsTest, OnlyNewerVersionsAreUnsupported) {
    auto settings = TilewiseSettings::defaults();
    settings.schemaVersion = 2;
    const auto issues = settings.validate();
    ASSERT_EQ(issues.size(), 1U);
    EXPECT_EQ(issues[0], (Issue{Issue::UnsupportedSchemaVersion{2}}));
    EXPECT_EQ(issues[0].description(),
              "Settings were written by a newer Tilewise (format version 2).");
    EXPECT_TRUE(issues[0].isFatal());
    for (const std::int64_t older : {0, -1}) {
        settings.schemaVersion = older;
        EXPECT_TRUE(settings.validate().empty()) << older;
    }
}

TEST(SettingsTest, GridOutsideItsBoundsIsInvalid) {
    auto settings = TilewiseSettings::defaults();
    settings.grid = {31, 6};
    EXPECT_EQ(settings.validate(), std::vector<Issue>{Issue{Issue::InvalidGrid{}}});
    EXPECT_EQ(Issue{Issue::InvalidGrid{}}.description(),
              "The grid must have between 1 and 30 rows and columns.");
}

TEST(SettingsTest, BadMarginsGiveOneIssueEvenWhenDisabled) {
    auto settings = TilewiseSettings::defaults();
    ASSERT_FALSE(settings.margins.enabled);
    settings.margins.verticalSpacing = -1;
    settings.margins.screen.top = 600;
    EXPECT_EQ(settings.validate(), std::vector<Issue>{Issue{Issue::InvalidMargins{}}});
    EXPECT_EQ(Issue{Issue::InvalidMargins{}}.description(),
              "Margins must be between 0 and 500 points.");
}

TEST(SettingsTest, LayoutSelectionMustLieInsideItsOwnValidGrid) {
    auto outside = layout("Wide", std::nullopt);
    outside.selection = CellSelection{0, 0, outside.grid.columns, 0};
    auto noRows = layout("Flat", std::nullopt);
    noRows.grid = {4, 0};
    noRows.selection = CellSelection{0, 0, 0, 0};
    const auto issues = withLayouts({outside, layout("Fine", std::nullopt), noRows}).validate();
    EXPECT_EQ(issues,
              (std::vector<Issue>{{Issue::InvalidLayout{"Wide"}}, {Issue::InvalidLayout{"Flat"}}}));
    EXPECT_EQ(issues[0].description(), "Layout “Wide” has a selection outside its grid.");
}

TEST(SettingsTest, DuplicateNamesKeepTheirOrderOfUse) {
    const auto issues = withLayouts({layout("B", kCommandA), layout("A", kCommandA)}).validate();
    ASSERT_EQ(issues.size(), 1U);
    EXPECT_EQ(issues[0], (Issue{Issue::DuplicateShortcut{kCommandA, {"B", "A"}}}));
    EXPECT_EQ(issues[0].description(), "⌘A is assigned to more than one layout: B, A.");
    EXPECT_FALSE(issues[0].isFatal());
}

TEST(SettingsTest, SameKeyWithOtherModifiersOrUnusedLayoutsIsNoDuplicate) {
    const KeyCombo optionA{0, Modifiers::option};
    EXPECT_TRUE(withLayouts({layout("One", kCommandA), layout("Two", optionA),
                             layout("Off", kCommandA, true, false), layout("None", std::nullopt)})
                    .validate()
                    .empty());
    const auto localToo =
        withLayouts({layout("Global", kCommandA), layout("Local", kCommandA, false)});
    const Issue expected{Issue::DuplicateShortcut{kCommandA, {"Global", "Local"}}};
    EXPECT_EQ(localToo.validate(), std::vector<Issue>{expected});
}

TEST(SettingsTest, EnabledPanelShortcutCountsAsAUse) {
    auto settings = withLayouts({layout("Left", kCommandA)});
    settings.panelShortcut = kCommandA;
    EXPECT_TRUE(settings.validate().empty());
    settings.panelShortcutEnabled = true;
    const Issue expected{Issue::DuplicateShortcut{kCommandA, {"Left", "Show grid panel"}}};
    EXPECT_EQ(settings.validate(), std::vector<Issue>{expected});
}

std::vector<std::vector<std::string>> duplicateNames(const std::vector<Issue>& issues) {
    std::vector<std::vector<std::string>> names;
    for (const auto& issue : issues) {
        if (const auto* duplicate = std::get_if<Issue::DuplicateShortcut>(&issue.value))
            names.push_back(duplicate->names);
    }
    return names;
}

// Each group keeps its names in order of use; groups sort by their concatenated names, compared
// in canonical form by scalar value: "e" + combining acute composes to U+00E9, which sorts after
// "f", and U+FF5E sorts before the emoji U+1F600 though its UTF-16 form sorts after.
TEST(SettingsTest, DuplicatesSortByConcatenatedCanonicalNamesByScalarValue) {
    const auto key = [](std::uint16_t code) { return KeyCombo{code, Modifiers::command}; };
    const auto settings = withLayouts(
        {layout("b", key(1)), layout("a", key(2)), layout("a", key(1)), layout("c", key(2)),
         layout("e\u0301", key(3)), layout("x", key(3)), layout("f", key(4)), layout("y", key(4)),
         layout("\U0001F600", key(5)), layout("\uFF5E", key(5))});
    EXPECT_EQ(duplicateNames(settings.validate()),
              (std::vector<std::vector<std::string>>{
                  {"a", "c"}, {"b", "a"}, {"f", "y"}, {"e\u0301", "x"}, {"\U0001F600", "\uFF5E"}}));
}

TEST(SettingsTest, UnsafeGlobalShortcutsOfEnabledGlobalLayoutsOnly) {
    const auto issues =
        withLayouts({layout("Shifted", kShiftA), layout("Off", kShiftA, true, false),
                     layout("Local", KeyCombo{1, Modifiers{}}, false),
                     layout("Bare", KeyCombo{2, Modifiers{}}), layout("Shift", kShiftKey)})
            .validate();
    ASSERT_EQ(issues.size(), 3U);
    EXPECT_EQ(issues[0],
              (Issue{Issue::UnsafeGlobalShortcut{"Shifted", KeyCombo::Problem::shiftOnly}}));
    EXPECT_EQ(issues[0].description(),
              "Global shortcut for “Shifted” needs a modifier other than Shift.");
    EXPECT_EQ(issues[1].description(), "Global shortcut for “Bare” needs a modifier key.");
    EXPECT_EQ(issues[2].description(),
              "Global shortcut for “Shift” uses a key that cannot be a shortcut.");
    EXPECT_FALSE(issues[0].isFatal());
}

TEST(SettingsTest, IssuesComeInTheirFixedOrder) {
    auto broken = layout("Broken", kCommandA);
    broken.selection = CellSelection{0, 0, 9, 9};
    auto settings = withLayouts({layout("Shifted", kShiftA), broken, layout("Twin", kCommandA)});
    settings.schemaVersion = 3;
    settings.grid = {0, 0};
    settings.margins.horizontalSpacing = -5;
    EXPECT_EQ(settings.validate(),
              (std::vector<Issue>{
                  {Issue::UnsupportedSchemaVersion{3}},
                  {Issue::InvalidGrid{}},
                  {Issue::InvalidMargins{}},
                  {Issue::InvalidLayout{"Broken"}},
                  {Issue::UnsafeGlobalShortcut{"Shifted", KeyCombo::Problem::shiftOnly}},
                  {Issue::DuplicateShortcut{kCommandA, {"Broken", "Twin"}}},
              }));
}

}  // namespace
}  // namespace tilewise
