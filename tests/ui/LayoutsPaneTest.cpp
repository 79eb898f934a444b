#include "ui/preferences/LayoutsPane.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QToolButton>

#include "tests/ui/PreferencesFixture.h"
#include "ui/preferences/LayoutEditor.h"
#include "ui/preferences/LayoutListModel.h"
#include "ui/preferences/SelectionEditor.h"
#include "ui/preferences/StatusText.h"
#include "ui/preferences/Stepper.h"

namespace tilewise {
namespace {

SavedLayout layout(const char* name, GridSize grid = {6, 4}, CellSelection cells = {0, 0, 0, 0}) {
    return {.id = Uuid::random(),
            .name = name,
            .enabled = true,
            .isGlobal = true,
            .grid = grid,
            .selection = cells};
}

class LayoutsPaneTest : public PreferencesFixture {
  protected:
    void open(std::vector<SavedLayout> layouts = {}) {
        changeSettings([&](TilewiseSettings& settings) {
            settings.grid = {6, 4};
            settings.layouts = std::move(layouts);
        });
        pane = std::make_unique<LayoutsPane>(context);
        pane->resize(580, 400);
        pane->show();
        writes.clear();
    }

    QListView& list() { return *find<QListView>(*pane, "layoutList"); }
    QAbstractItemModel& model() { return *list().model(); }
    QString rowText(int row) { return model().index(row, 0).data().toString(); }
    bool editorShown() {
        const auto* editor = pane->findChild<LayoutEditor*>();
        return editor != nullptr && editor->isVisible();
    }
    const std::vector<SavedLayout>& layouts() { return store.settings().layouts; }

    std::unique_ptr<LayoutsPane> pane;
};

TEST_F(LayoutsPaneTest, WithoutLayoutsThePlaceholderShowsAndMinusIsDisabled) {
    open();
    EXPECT_TRUE(find<QLabel>(*pane, "layoutsPlaceholder")->isVisible());
    EXPECT_EQ(find<QLabel>(*pane, "layoutsPlaceholder")->text(),
              "Select a layout, or click + to add one.");
    EXPECT_FALSE(find<QToolButton>(*pane, "removeLayout")->isEnabled());
    EXPECT_FALSE(editorShown());
}

TEST_F(LayoutsPaneTest, PlusAddsANewLayoutOverTheWholeGridAndOpensIt) {
    open();
    QTest::mouseClick(find<QToolButton>(*pane, "addLayout"), Qt::LeftButton);
    ASSERT_EQ(writes.size(), 1u);
    ASSERT_EQ(layouts().size(), 1u);
    const auto& added = layouts().front();
    EXPECT_EQ(added.name, "New Layout");
    EXPECT_EQ(added.selection, CellSelection(0, 0, 5, 3));
    EXPECT_TRUE(added.enabled && added.isGlobal);
    EXPECT_EQ(added.shortcut, std::nullopt);
    EXPECT_EQ(pane->selectedID(), added.id);
    EXPECT_TRUE(editorShown());
    EXPECT_EQ(find<QLineEdit>(*pane, "layoutName")->text(), "New Layout");
    EXPECT_TRUE(find<QToolButton>(*pane, "removeLayout")->isEnabled());
    EXPECT_EQ(list().currentIndex().row(), 0);
}

TEST_F(LayoutsPaneTest, MinusSelectsTheFirstRemainingLayoutOrNothing) {
    open({layout("A"), layout("B"), layout("C")});
    const auto a = layouts()[0].id;
    list().setCurrentIndex(model().index(2, 0));
    EXPECT_EQ(pane->selectedID(), layouts()[2].id);
    QTest::mouseClick(find<QToolButton>(*pane, "removeLayout"), Qt::LeftButton);
    EXPECT_EQ(layouts().size(), 2u);
    EXPECT_EQ(pane->selectedID(), a) << "the first remaining layout, not the neighbour";
    EXPECT_EQ(list().currentIndex().row(), 0);

    open({layout("Only")});
    pane->select(layouts()[0].id);
    QTest::mouseClick(find<QToolButton>(*pane, "removeLayout"), Qt::LeftButton);
    EXPECT_TRUE(layouts().empty());
    EXPECT_EQ(pane->selectedID(), std::nullopt);
    EXPECT_FALSE(find<QToolButton>(*pane, "removeLayout")->isEnabled());
}

TEST_F(LayoutsPaneTest, ShortcutsAreWordedAsTheDesktopLabelsItsKeys) {
    auto named = layout("Left");
    named.shortcut = KeyCombo{123, Modifiers::control | Modifiers::option};
    changeSettings([&named](TilewiseSettings& settings) { settings.layouts = {named}; });
    const LayoutListModel linux{store, keyboardLayout, PlatformTexts::forBackend("x11")};
    EXPECT_EQ(linux.index(0, 0).data(LayoutListModel::shortcutRole).toString(), "Ctrl+Alt+Left");
}

TEST_F(LayoutsPaneTest, RowsShowUntitledTheShortcutAndDisabledLayoutsHalfTransparent) {
    auto unnamed = layout("");
    unnamed.enabled = false;
    auto named = layout("Left");
    named.shortcut = KeyCombo{123, Modifiers::control | Modifiers::option};
    open({unnamed, named});
    EXPECT_EQ(rowText(0), "Untitled");
    EXPECT_EQ(model().index(0, 0).data(LayoutListModel::opacityRole).toDouble(), 0.5);
    EXPECT_EQ(rowText(1), "Left");
    EXPECT_EQ(model().index(1, 0).data(LayoutListModel::opacityRole).toDouble(), 1.0);
    EXPECT_EQ(model().index(1, 0).data(LayoutListModel::shortcutRole).toString(), "⌃⌥←");
    EXPECT_EQ(model().index(0, 0).data(LayoutListModel::shortcutRole).toString(), "");

    changeSettings([](TilewiseSettings& settings) { settings.layouts[1].name = "Renamed"; });
    EXPECT_EQ(rowText(1), "Renamed") << "the list follows every published change";
}

TEST_F(LayoutsPaneTest, TheEditorWritesEachChangeIntoTheLayout) {
    open({layout("A")});
    pane->select(layouts()[0].id);
    auto* name = find<QLineEdit>(*pane, "layoutName");
    name->setFocus();
    QTest::keyClicks(name, "xy");
    EXPECT_EQ(layouts()[0].name, "Axy");
    EXPECT_EQ(writes.size(), 2u);
    toggle(find<QCheckBox>(*pane, "layoutGlobal"));
    EXPECT_FALSE(layouts()[0].isGlobal);
    EXPECT_TRUE(find<QLabel>(*pane, "localShortcutCaption")->isVisible());
    toggle(find<QCheckBox>(*pane, "layoutEnabled"));
    EXPECT_FALSE(layouts()[0].enabled);
}

TEST_F(LayoutsPaneTest, StepperChangesClampTheSelectionAndStayWithinOneToThirty) {
    open({layout("A", {6, 4}, {4, 1, 5, 2})});
    pane->select(layouts()[0].id);
    auto* columns = find<Stepper>(*pane, "layoutColumns");
    EXPECT_EQ(columns->text(), "6 columns");
    columns->stepBy(-2);
    EXPECT_EQ(layouts()[0].grid, (GridSize{4, 4}));
    EXPECT_EQ(layouts()[0].selection, CellSelection(3, 1, 3, 2));
    columns->stepBy(3);
    EXPECT_EQ(layouts()[0].selection, CellSelection(3, 1, 3, 2)) << "raising leaves it";
    columns->stepBy(40);
    EXPECT_EQ(layouts()[0].grid.columns, 30);
    auto* rows = find<Stepper>(*pane, "layoutRows");
    rows->stepBy(-10);
    EXPECT_EQ(layouts()[0].grid.rows, 1);
    EXPECT_EQ(layouts()[0].selection, CellSelection(3, 0, 3, 0));
}

TEST_F(LayoutsPaneTest, DraggingAcrossTheCellsWritesTheSelectionOnlyWhenTheDragEnds) {
    open({layout("A", {6, 4}, {2, 2, 2, 2})});
    pane->select(layouts()[0].id);
    auto* cells = find<SelectionEditor>(*pane, "layoutCells");
    const auto centre = [&](GridCell cell) { return cells->cellRect(cell).center().toPoint(); };
    QTest::mousePress(cells, Qt::LeftButton, {}, centre({5, 3}));
    QTest::mouseMove(cells, centre({3, 1}));
    QTest::mouseMove(cells, centre({0, 0}));
    EXPECT_EQ(cells->shownSelection(), CellSelection(0, 0, 5, 3)) << "the drawing follows";
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(layouts()[0].selection, CellSelection(2, 2, 2, 2));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, centre({0, 0}));
    EXPECT_EQ(layouts()[0].selection, CellSelection(0, 0, 5, 3));
    EXPECT_EQ(writes.size(), 1u);

    QTest::mouseClick(cells, Qt::LeftButton, {}, centre({4, 2}));
    EXPECT_EQ(layouts()[0].selection, CellSelection(4, 2, 4, 2)) << "a click selects one cell";
}

TEST_F(LayoutsPaneTest, TheStatusLineShowsOnlyAProblem) {
    open({layout("A")});
    const auto id = layouts()[0].id;
    pane->select(id);
    auto* status = find<StatusText>(*pane, "layoutStatus");
    publishStatuses({.layoutStatus = {{id, HotKeyService::Status::Kind::registered}}});
    EXPECT_EQ(status->text(), "");
    publishStatuses({.layoutStatus = {{id, HotKeyService::Status::Kind::conflict}}});
    EXPECT_EQ(status->text(), "In use by another app or another Tilewise shortcut");
    EXPECT_TRUE(status->isVisible());
}

TEST_F(LayoutsPaneTest, ReorderingMovesRowsInOneSettingsWrite) {
    open({layout("A"), layout("B"), layout("C")});
    const auto ids = std::vector{layouts()[0].id, layouts()[1].id, layouts()[2].id};
    QSignalSpy moved(&model(), &QAbstractItemModel::rowsMoved);
    QSignalSpy inserted(&model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model(), &QAbstractItemModel::rowsRemoved);
    ASSERT_TRUE(model().moveRows({}, 0, 1, {}, 3));
    EXPECT_EQ(writes.size(), 1u);
    EXPECT_EQ(layouts()[2].id, ids[0]);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(inserted.count() + removed.count(), 0) << "never a duplicate row";

    pane->select(ids[1]);
    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(layouts()[1].id, ids[1]);
    QTest::keyClick(&list(), Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(&list(), Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(layouts()[0].id, ids[1]);
    EXPECT_EQ(pane->selectedID(), ids[1]);
    EXPECT_EQ(list().currentIndex().row(), 0);
    EXPECT_EQ(writes.size(), 3u) << "the first one moved, the last one had nowhere to go";
}

}  // namespace
}  // namespace tilewise
