#include "ui/preferences/GridPane.h"

#include <QCheckBox>
#include <QLabel>

#include "tests/ui/PreferencesFixture.h"
#include "ui/preferences/PointsField.h"
#include "ui/preferences/Stepper.h"

namespace tilewise {
namespace {

class GridPaneTest : public PreferencesFixture {
  protected:
    GridPaneTest() {
        changeSettings([](TilewiseSettings& settings) { settings.margins.enabled = true; });
        pane.show();
        writes.clear();
    }

    PointsField* field(const char* name) { return find<PointsField>(pane, name); }
    QLabel* rangeError() { return find<QLabel>(pane, "marginsRangeError"); }
    void type(PointsField* target, const QString& text) {
        target->setFocus();
        target->selectAll();
        QTest::keyClicks(target, text);
    }

    GridPane pane{store};
};

TEST_F(GridPaneTest, TheStepperStopsAtOneAndThirtyAndTakesNoTyping) {
    auto* columns = find<Stepper>(pane, "gridColumns");
    EXPECT_EQ(columns->text(), "Columns: 6");
    columns->stepBy(-10);
    EXPECT_EQ(store.settings().grid.columns, 1);
    columns->stepBy(-1);
    columns->stepBy(100);
    EXPECT_EQ(store.settings().grid.columns, 30);
    EXPECT_EQ(columns->text(), "Columns: 30");
    columns->setFocus();
    QTest::keyClicks(columns, "7");
    EXPECT_EQ(store.settings().grid.columns, 30);
    EXPECT_EQ(writes.size(), 2u);
    find<Stepper>(pane, "gridRows")->stepBy(-1);
    EXPECT_EQ(store.settings().grid.rows, 5);
}

TEST_F(GridPaneTest, TurningMarginsOffGreysTheFieldsAndKeepsTheirValues) {
    changeSettings([](TilewiseSettings& settings) {
        settings.margins.enabled = true;
        settings.margins.screen.top = 12;
    });
    EXPECT_TRUE(field("marginTop")->isEnabled());
    toggle(find<QCheckBox>(pane, "useMargins"));
    EXPECT_FALSE(store.settings().margins.enabled);
    EXPECT_EQ(store.settings().margins.screen.top, 12);
    for (const auto* name : {"marginTop", "marginLeft", "marginBottom", "marginRight",
                             "spacingHorizontal", "spacingVertical"}) {
        EXPECT_FALSE(field(name)->isEnabled()) << name;
    }
    EXPECT_EQ(field("marginTop")->text(), "12");
}

TEST_F(GridPaneTest, OutOfRangeValuesAreStoredAndReportedNotClamped) {
    EXPECT_TRUE(rangeError()->isHidden());
    type(field("spacingVertical"), "600");
    EXPECT_EQ(store.settings().margins.verticalSpacing, 600);
    EXPECT_FALSE(rangeError()->isHidden());
    EXPECT_EQ(rangeError()->text(), "Margins must be between 0 and 500 points.");
    type(field("spacingVertical"), "7.5");
    EXPECT_EQ(store.settings().margins.verticalSpacing, 7.5);
    EXPECT_TRUE(rangeError()->isHidden());
}

TEST_F(GridPaneTest, TextThatIsNotANumberKeepsTheLastValidValue) {
    type(field("marginLeft"), "15");
    const auto writesBefore = writes.size();
    type(field("marginLeft"), "abc");
    EXPECT_EQ(store.settings().margins.screen.left, 15);
    EXPECT_EQ(writes.size(), writesBefore);
    field("marginLeft")->clearFocus();
    emit field("marginLeft")->editingFinished();
    EXPECT_EQ(field("marginLeft")->text(), "15");
}

struct PointsCase {
    const char* locale;
    double value;
    const char* shown;
};

class PointsFieldFormatTest : public ::testing::TestWithParam<PointsCase> {};

TEST_P(PointsFieldFormatTest, ShowsAndParsesInTheLocaleWithAtMostOneFractionDigit) {
    const QLocale locale(GetParam().locale);
    EXPECT_EQ(PointsField::format(GetParam().value, locale), GetParam().shown);
    EXPECT_EQ(PointsField::parse(GetParam().shown, locale), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Locales, PointsFieldFormatTest,
                         ::testing::Values(PointsCase{"en_US", 5, "5"},
                                           PointsCase{"en_US", 2.5, "2.5"},
                                           PointsCase{"de_DE", 2.5, "2,5"},
                                           PointsCase{"en_US", 1200, "1,200"},
                                           PointsCase{"en_US", -3, "-3"}));

TEST(PointsFieldTest, ParsingRefusesWhatIsNotAFiniteNumberAndRoundsToOneDigit) {
    const QLocale english("en_US");
    EXPECT_EQ(PointsField::parse("abc", english), std::nullopt);
    EXPECT_EQ(PointsField::parse("", english), std::nullopt);
    EXPECT_EQ(PointsField::parse("inf", english), std::nullopt);
    EXPECT_EQ(PointsField::parse("1e400", english), std::nullopt);
    EXPECT_EQ(PointsField::parse(" 4.26 ", english), 4.3);
    EXPECT_EQ(PointsField::format(4.26, english), "4.3");
}

}  // namespace
}  // namespace tilewise
