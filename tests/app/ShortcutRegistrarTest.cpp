#include "app/ShortcutRegistrar.h"

#include <gtest/gtest.h>

#include "platform/sim/SimHotKeys.h"
#include "tests/support/LogCapture.h"

namespace tilewise {
namespace {

using Kind = HotKeyService::Status::Kind;
using Status = HotKeyService::Status;

const KeyCombo kA{0, Modifiers{Modifiers::control, Modifiers::option}};
const KeyCombo kB{11, Modifiers{Modifiers::control, Modifiers::option}};
const KeyCombo kHeld{2, Modifiers{Modifiers::control, Modifiers::option}};
const KeyCombo kBare{3, Modifiers{}};
const KeyCombo kShiftOnly{4, Modifiers::shift};
const KeyCombo kSystem{5, Modifiers::command};

SavedLayout layout(std::optional<KeyCombo> shortcut, bool enabled = true, bool global = true) {
    return {.id = Uuid::random(),
            .name = "Layout",
            .enabled = enabled,
            .isGlobal = global,
            .shortcut = shortcut,
            .grid = {2, 2},
            .selection = {0, 0, 0, 0}};
}

class ShortcutRegistrarTest : public ::testing::Test {
  protected:
    ShortcutRegistrarTest() {
        system.holdByAnotherApplication({kHeld.keyCode, kHeld.modifiers.carbonFlags()});
        system.setSymbolicHotKeys(
            {noErr, std::vector<PropertyDictionary>{
                        {{std::string{kHISymbolicHotKeyCode}, std::int64_t{kSystem.keyCode}},
                         {std::string{kHISymbolicHotKeyModifiers},
                          std::int64_t{kSystem.modifiers.carbonFlags()}},
                         {std::string{kHISymbolicHotKeyEnabled}, true}}}});
    }

    std::optional<ShortcutRegistrar::Statuses> registerAll(
        const TilewiseSettings& settings, bool force = false,
        const std::unordered_set<KeyCombo>& paused = {}) {
        return registrar.registerAll(
            settings, force, paused,
            {.togglePanel = [this] { ++toggles; },
             .applyLayout = [this](const Uuid& id) { applied.push_back(id); }});
    }

    static TilewiseSettings with(std::vector<SavedLayout> layouts,
                                 std::optional<KeyCombo> panel = std::nullopt) {
        auto settings = TilewiseSettings::defaults();
        settings.layouts = std::move(layouts);
        settings.panelShortcut = panel;
        settings.panelShortcutEnabled = panel.has_value();
        return settings;
    }

    LogCapture log;
    sim::SimHotKeys system;
    HotKeyService hotKeys{system};
    ShortcutRegistrar registrar{hotKeys, system};
    int toggles = 0;
    std::vector<Uuid> applied;
};

struct StatusCase {
    std::string name;
    std::optional<KeyCombo> shortcut;
    bool paused;
    Status expected;
};

class LayoutStatusTest : public ShortcutRegistrarTest,
                         public ::testing::WithParamInterface<StatusCase> {};

TEST_P(LayoutStatusTest, EachShortcutGetsTheFirstStatusThatApplies) {
    const auto saved = layout(GetParam().shortcut);
    std::unordered_set<KeyCombo> paused;
    if (GetParam().paused)
        paused.insert(*GetParam().shortcut);
    const auto statuses = registerAll(with({saved}), false, paused);
    ASSERT_TRUE(statuses);
    EXPECT_EQ(statuses->layouts.at(saved.id), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutStatusTest,
    ::testing::Values(StatusCase{"Registered", kA, false, Kind::registered},
                      StatusCase{"HeldElsewhere", kHeld, false, Kind::conflict},
                      StatusCase{"NoModifier", kBare, false,
                                 Status::unsupported(KeyCombo::Problem::noModifier)},
                      StatusCase{"ShiftOnly", kShiftOnly, false,
                                 Status::unsupported(KeyCombo::Problem::shiftOnly)},
                      StatusCase{"SystemShortcut", kSystem, false, Kind::systemShortcut},
                      StatusCase{"PausedBeforeInvalid", kBare, true, Kind::deferredForDivvy},
                      StatusCase{"PausedBeforeRegistered", kA, true, Kind::deferredForDivvy}),
    [](const auto& info) { return info.param.name; });

TEST_F(ShortcutRegistrarTest, TheFirstLayoutWinsAndAFailedOneBlocksNothing) {
    const auto bare = layout(kBare);
    const auto first = layout(kA);
    const auto second = layout(kA);
    const auto statuses = registerAll(with({bare, first, second}));
    EXPECT_EQ(statuses->layouts.at(first.id), Kind::registered);
    EXPECT_EQ(statuses->layouts.at(second.id), Kind::conflict);

    auto disabledFirst = first;
    disabledFirst.enabled = false;
    const auto next = registerAll(with({disabledFirst, second}));
    EXPECT_FALSE(next->layouts.contains(first.id));
    EXPECT_EQ(next->layouts.at(second.id), Kind::registered);
}

TEST_F(ShortcutRegistrarTest, ThePanelShortcutWinsOverALayout) {
    const auto saved = layout(kA);
    auto statuses = registerAll(with({saved}, kA));
    EXPECT_EQ(statuses->panel, Status{Kind::registered});
    EXPECT_EQ(statuses->layouts.at(saved.id), Kind::conflict);

    auto panelOff = with({saved}, kA);
    panelOff.panelShortcutEnabled = false;
    statuses = registerAll(panelOff);
    EXPECT_EQ(statuses->panel, std::nullopt);
    EXPECT_EQ(statuses->layouts.at(saved.id), Kind::registered);
}

TEST_F(ShortcutRegistrarTest, ThePanelShortcutIsPausedBeforeItsOwnValidityIsJudged) {
    const auto statuses = registerAll(with({}, kBare), false, {kBare});
    EXPECT_EQ(statuses->panel, Status{Kind::deferredForDivvy});
}

TEST_F(ShortcutRegistrarTest, LocalDisabledAndUnsetLayoutsGetNoEntry) {
    const auto statuses =
        registerAll(with({layout(kA, true, false), layout(kB, false, true), layout(std::nullopt)}));
    EXPECT_TRUE(statuses->layouts.empty());
    EXPECT_EQ(statuses->registeredCount, 0u);
}

TEST_F(ShortcutRegistrarTest, AnUnchangedSetIsNotRegisteredAgainUnlessForced) {
    auto saved = layout(kA);
    ASSERT_TRUE(registerAll(with({saved})));
    saved.name = "Renamed";
    saved.selection = {1, 1, 1, 1};
    EXPECT_FALSE(registerAll(with({saved})));
    EXPECT_TRUE(registerAll(with({saved}), true));
    EXPECT_EQ(system.registrationCount(), 1u);
    EXPECT_EQ(log.messages(LogCategory::app, LogLevel::info),
              (std::vector<std::string>{"registered 1 global shortcuts",
                                        "registered 1 global shortcuts"}));
}

TEST_F(ShortcutRegistrarTest, TheKeyDescribesThePanelAndEachLayoutsRegistrableShortcut) {
    auto global = layout(KeyCombo{0x7B, Modifiers::control});
    auto local = layout(kA, true, false);
    auto settings = with({global, local}, kB);
    EXPECT_EQ(ShortcutRegistrar::shortcutsKey(settings),
              (std::vector<std::string>{"panel:11/786432", global.id.string() + ":123/262144",
                                        local.id.string() + ":-"}));
    settings.panelShortcutEnabled = false;
    EXPECT_EQ(ShortcutRegistrar::shortcutsKey(settings).front(), "panel:-");
}

TEST_F(ShortcutRegistrarTest, ActionsRunTheirLayoutOrThePanelToggle) {
    const auto saved = layout(kA);
    registerAll(with({saved}, kB));
    for (const auto& combo : {kA, kB}) {
        system.press({combo.keyCode, combo.modifiers.carbonFlags()});
        system.release({combo.keyCode, combo.modifiers.carbonFlags()});
    }
    EXPECT_EQ(applied, std::vector<Uuid>{saved.id});
    EXPECT_EQ(toggles, 1);
}

TEST_F(ShortcutRegistrarTest, ATransientHotKeySurvivesAPass) {
    const auto escape = hotKeys.add(KeyCombo{53, Modifiers{}}, true, [] {});
    ASSERT_EQ(escape.first, Status{Kind::registered});
    registerAll(with({layout(kA)}));
    EXPECT_TRUE(system.isRegistered({53, 0}));
}

}  // namespace
}  // namespace tilewise
