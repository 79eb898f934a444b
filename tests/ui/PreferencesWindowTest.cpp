#include "ui/preferences/PreferencesWindowController.h"

#include <QApplication>
#include <QTabWidget>
#include <algorithm>
#include <array>

#include "tests/ui/PreferencesFixture.h"
#include "ui/preferences/PreferencesView.h"

namespace tilewise {
namespace {

class PreferencesWindowTest : public PreferencesFixture {
  protected:
    PreferencesWindowController controller{context};
};

TEST_F(PreferencesWindowTest, IsCreatedOnFirstUseWithItsTitleSizeAndTabs) {
    EXPECT_EQ(controller.window(), nullptr);
    controller.show();
    auto* window = controller.window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Tilewise Preferences");
    EXPECT_EQ(window->size(), QSize(620, 480));
    EXPECT_TRUE(window->isVisible());
    auto* tabs = find<QTabWidget>(*window, "preferencesTabs");
    ASSERT_EQ(tabs->count(), 4);
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i) {
        titles << tabs->tabText(i);
    }
    EXPECT_EQ(titles, (QStringList{"General", "Grid", "Layouts", "Data"}));
    EXPECT_EQ(controller.view()->tab(), PreferencesTab::general);
}

TEST_F(PreferencesWindowTest, ReopeningShowsTheSameWindowOnTheTabLastSelected) {
    controller.show();
    auto* first = controller.window();
    controller.view()->setTab(PreferencesTab::layouts);
    first->close();
    EXPECT_FALSE(first->isVisible());
    controller.show();
    EXPECT_EQ(controller.window(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(controller.view()->tab(), PreferencesTab::layouts);
}

TEST_F(PreferencesWindowTest, TabChangesTellWhetherTheGridTabIsShown) {
    controller.show();
    EXPECT_TRUE(gridTabChanges.empty()) << "the first tab is not a change";
    controller.view()->setTab(PreferencesTab::grid);
    EXPECT_TRUE(controller.isGridTabSelected());
    controller.view()->setTab(PreferencesTab::data);
    controller.view()->setTab(PreferencesTab::grid);
    EXPECT_EQ(gridTabChanges, (std::vector{true, false, true}));
}

TEST_F(PreferencesWindowTest, ActivationAndClosingAreReportedForThePreview) {
    controller.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller.window()));
    const auto placement = controller.activePlacement();
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->frame.size.width, controller.window()->frameGeometry().width());
    EXPECT_NE(placement->nativeWindow, 0u);
    const auto before = windowStateChanges;
    EXPECT_GT(before, 0) << "becoming active is reported";
    controller.window()->close();
    const auto closing = windowStateChanges;
    QApplication::processEvents();
    EXPECT_GT(windowStateChanges, closing) << "the close is reported one turn later";
    EXPECT_FALSE(controller.activePlacement().has_value());
}

TEST_F(PreferencesWindowTest, EveryControlHasAnAccessibleName) {
    controller.show();
    const auto isControl = [](const QWidget* widget) {
        return std::ranges::any_of(
            std::array{"QAbstractButton", "QLineEdit", "QAbstractSpinBox", "QComboBox", "QListView",
                       "tilewise::SelectionEditor"},
            [&](const char* type) { return widget->inherits(type); });
    };
    int controls = 0;
    for (auto* widget : controller.window()->findChildren<QWidget*>()) {
        // The editors inside spin boxes are named by their spin box.
        if (!isControl(widget) || widget->parentWidget()->inherits("QAbstractSpinBox"))
            continue;
        ++controls;
        EXPECT_FALSE(widget->accessibleName().isEmpty())
            << widget->metaObject()->className() << " " << widget->objectName().toStdString();
    }
    EXPECT_GT(controls, 30);
}

}  // namespace
}  // namespace tilewise
