#include "app/LayoutListEditing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tilewise {
namespace {

using LayoutListEditing::GridDimension;

SavedLayout layoutNamed(std::string name) {
    return {.id = Uuid::random(),
            .name = std::move(name),
            .enabled = true,
            .isGlobal = true,
            .grid = {6, 4},
            .selection = {0, 0, 5, 3}};
}

TilewiseSettings settingsWith(std::initializer_list<const char*> names) {
    auto settings = TilewiseSettings::defaults();
    for (const auto* name : names) {
        settings.layouts.push_back(layoutNamed(name));
    }
    return settings;
}

std::string namesOf(const TilewiseSettings& settings) {
    std::string names;
    for (const auto& layout : settings.layouts) {
        names += layout.name;
    }
    return names;
}

TEST(LayoutListEditingTest, AddAppendsAnEnabledGlobalLayoutOverTheWholeGrid) {
    auto settings = settingsWith({"A"});
    settings.grid = {6, 4};
    const auto id = LayoutListEditing::add(settings);
    ASSERT_EQ(settings.layouts.size(), 2u);
    const auto& added = settings.layouts.back();
    EXPECT_EQ(added.id, id);
    EXPECT_EQ(added.name, "New Layout");
    EXPECT_TRUE(added.enabled);
    EXPECT_TRUE(added.isGlobal);
    EXPECT_EQ(added.shortcut, std::nullopt);
    EXPECT_EQ(added.grid, (GridSize{6, 4}));
    EXPECT_EQ(added.selection, CellSelection(0, 0, 5, 3));
    EXPECT_NE(LayoutListEditing::add(settings), id) << "every layout gets a fresh id";
}

TEST(LayoutListEditingTest, RemoveSelectsTheFirstRemainingLayoutNotTheNeighbour) {
    auto settings = settingsWith({"A", "B", "C"});
    const auto c = settings.layouts[2].id;
    EXPECT_EQ(LayoutListEditing::remove(settings, c), settings.layouts.front().id);
    EXPECT_EQ(namesOf(settings), "AB");

    auto only = settingsWith({"A"});
    EXPECT_EQ(LayoutListEditing::remove(only, only.layouts.front().id), std::nullopt);
    EXPECT_TRUE(only.layouts.empty());

    auto untouched = settingsWith({"A", "B"});
    EXPECT_EQ(LayoutListEditing::remove(untouched, std::nullopt), untouched.layouts.front().id);
    EXPECT_EQ(namesOf(untouched), "AB");
}

struct MoveCase {
    std::size_t first;
    std::size_t count;
    std::size_t destination;
    bool moved;
    const char* order;
};

class LayoutListMoveTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(LayoutListMoveTest, MovesRowsAsAListViewDropReportsThem) {
    const auto& example = GetParam();
    auto settings = settingsWith({"A", "B", "C", "D"});
    EXPECT_EQ(LayoutListEditing::move(settings, example.first, example.count, example.destination),
              example.moved);
    EXPECT_EQ(namesOf(settings), example.order);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, LayoutListMoveTest,
    ::testing::Values(MoveCase{0, 1, 2, true, "BACD"}, MoveCase{0, 1, 4, true, "BCDA"},
                      MoveCase{3, 1, 0, true, "DABC"}, MoveCase{2, 1, 1, true, "ACBD"},
                      MoveCase{1, 2, 4, true, "ADBC"}, MoveCase{1, 1, 1, false, "ABCD"},
                      MoveCase{1, 1, 2, false, "ABCD"}, MoveCase{4, 1, 0, false, "ABCD"},
                      MoveCase{0, 0, 2, false, "ABCD"}, MoveCase{3, 2, 0, false, "ABCD"},
                      MoveCase{0, 1, 5, false, "ABCD"}));

struct ResizeCase {
    GridDimension dimension;
    std::int64_t value;
    bool changed;
    GridSize grid;
    CellSelection selection;
};

class LayoutGridResizeTest : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(LayoutGridResizeTest, ClampsTheSelectionIntoTheNewGrid) {
    const auto& example = GetParam();
    auto layout = layoutNamed("A");
    layout.selection = CellSelection(4, 1, 5, 3);
    EXPECT_EQ(LayoutListEditing::setGridDimension(layout, example.dimension, example.value),
              example.changed);
    EXPECT_EQ(layout.grid, example.grid);
    EXPECT_EQ(layout.selection, example.selection);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, LayoutGridResizeTest,
    ::testing::Values(ResizeCase{GridDimension::columns, 4, true, {4, 4}, {3, 1, 3, 3}},
                      ResizeCase{GridDimension::columns, 9, true, {9, 4}, {4, 1, 5, 3}},
                      ResizeCase{GridDimension::rows, 2, true, {6, 2}, {4, 1, 5, 1}},
                      ResizeCase{GridDimension::rows, 1, true, {6, 1}, {4, 0, 5, 0}},
                      ResizeCase{GridDimension::columns, 0, false, {6, 4}, {4, 1, 5, 3}},
                      ResizeCase{GridDimension::rows, 31, false, {6, 4}, {4, 1, 5, 3}},
                      ResizeCase{GridDimension::columns, 30, true, {30, 4}, {4, 1, 5, 3}}));

TEST(LayoutListEditingTest, FindsALayoutById) {
    auto settings = settingsWith({"A", "B"});
    const auto b = settings.layouts[1].id;
    ASSERT_NE(LayoutListEditing::find(settings, b), nullptr);
    EXPECT_EQ(LayoutListEditing::find(settings, b)->name, "B");
    EXPECT_EQ(LayoutListEditing::find(settings, Uuid::random()), nullptr);
}

}  // namespace
}  // namespace tilewise
