#include "app/HotKeyService.h"

#include <gtest/gtest.h>

#include "platform/sim/SimHotKeys.h"
#include "tests/support/LogCapture.h"

namespace tilewise {
namespace {

using Kind = HotKeyService::Status::Kind;
using sim::SimHotKeys;

constexpr std::uint16_t kKeyG = 5;
constexpr std::uint16_t kKeyH = 4;
constexpr std::uint16_t kSpace = 49;
constexpr std::uint16_t kEscape = 53;

SimHotKeys::Combination combination(const KeyCombo& combo) {
    return {combo.keyCode, combo.modifiers.carbonFlags()};
}

class HotKeyServiceTest : public ::testing::Test {
  protected:
    const KeyCombo commandOptionG{kKeyG, {Modifiers::command, Modifiers::option}};
    const KeyCombo controlH{kKeyH, Modifiers::control};
    const KeyCombo escape{kEscape, {}};

    LogCapture log;
    SimHotKeys hotKeys;
    HotKeyService service{hotKeys};
    int presses = 0;
    HotKeyService::Action count = [this] { ++presses; };
};

TEST_F(HotKeyServiceTest, IdsStartAtOneAndAConflictUsesOneUpWithoutALogLine) {
    hotKeys.holdByAnotherApplication(combination(controlH));
    const auto first = service.add(commandOptionG, false, count);
    const auto second = service.add(controlH, false, count);
    const auto third = service.add(escape, true, count);

    EXPECT_EQ(first,
              std::pair(HotKeyService::Status{Kind::registered}, std::optional<std::uint32_t>{1}));
    EXPECT_EQ(second.first, Kind::conflict);
    EXPECT_FALSE(second.second.has_value());
    EXPECT_EQ(third.second, 3u);
    EXPECT_TRUE(log.entries().empty());
}

TEST_F(HotKeyServiceTest, OtherFailuresAreLoggedWithTheirCode) {
    hotKeys.failRegistration(combination(commandOptionG), -25);
    const auto failed = service.add(commandOptionG, false, count);
    EXPECT_EQ(failed.first, HotKeyService::Status::failed(-25));
    EXPECT_FALSE(failed.second.has_value());
    EXPECT_EQ(log.messages(LogCategory::hotkeys, LogLevel::error),
              std::vector<std::string>{"RegisterEventHotKey failed: -25"});

    hotKeys.failRegistration(combination(controlH), noErr);
    EXPECT_EQ(service.add(controlH, false, count).first, HotKeyService::Status::failed(0));
}

TEST_F(HotKeyServiceTest, HoldingAKeyRunsItsActionOncePerPhysicalPress) {
    service.add(commandOptionG, false, count);
    const auto key = combination(commandOptionG);
    EXPECT_EQ(hotKeys.press(key), noErr);
    EXPECT_EQ(hotKeys.press(key), noErr);
    EXPECT_EQ(hotKeys.press(key), noErr);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(hotKeys.release(key), noErr);
    hotKeys.press(key);
    EXPECT_EQ(presses, 2);
}

TEST_F(HotKeyServiceTest, EventsThatAreNotOursAreLeftToOthers) {
    const auto id = service.add(commandOptionG, false, count).second.value();
    hotKeys.press(combination(commandOptionG));
    service.unregister(id);

    const EventHotKeyID ours{HotKeyService::kSignature, id};
    EXPECT_EQ(hotKeys.deliver({kEventClassKeyboard, kEventHotKeyReleased, ours}),
              eventNotHandledErr);
    EXPECT_EQ(hotKeys.deliver({kEventClassKeyboard, kEventHotKeyPressed,
                               EventHotKeyID{fourCharCode("OTHR"), id}}),
              eventNotHandledErr);
    EXPECT_EQ(hotKeys.deliver({kEventClassKeyboard, kEventHotKeyPressed, std::nullopt}),
              eventNotHandledErr);
    EXPECT_EQ(presses, 1);
}

TEST_F(HotKeyServiceTest, UnregisterAllSparesTransientEntries) {
    service.add(commandOptionG, false, count);
    const auto escapeID = service.add(escape, true, count).second.value();

    service.unregisterAll();
    EXPECT_FALSE(hotKeys.isRegistered(combination(commandOptionG)));
    EXPECT_TRUE(hotKeys.isRegistered(combination(escape)));
    service.unregister(escapeID);
    service.unregister(escapeID);
    service.unregister(999);
    EXPECT_EQ(hotKeys.registrationCount(), 0u);
}

TEST_F(HotKeyServiceTest, AnActionMayUnregisterItsOwnEntry) {
    std::optional<HotKeyService::RegistrationID> id;
    id = service
             .add(escape, true,
                  [&] {
                      ++presses;
                      service.unregister(*id);
                  })
             .second;
    EXPECT_EQ(hotKeys.press(combination(escape)), noErr);
    EXPECT_EQ(presses, 1);
    EXPECT_FALSE(hotKeys.isRegistered(combination(escape)));
}

TEST_F(HotKeyServiceTest, DestructionUnregistersEverythingAndRemovesTheHandler) {
    {
        HotKeyService other{hotKeys};
        other.add(controlH, false, count);
        other.add(escape, true, count);
    }
    EXPECT_FALSE(hotKeys.isRegistered(combination(controlH)));
    EXPECT_FALSE(hotKeys.isRegistered(combination(escape)));
}

TEST(HotKeyServiceInstallTest, WithoutAHandlerRegistrationsSucceedButNothingRuns) {
    LogCapture log;
    SimHotKeys hotKeys;
    hotKeys.failHandlerInstallation(paramErr);
    HotKeyService service{hotKeys};
    EXPECT_EQ(log.messages(LogCategory::hotkeys, LogLevel::error),
              std::vector<std::string>{"InstallEventHandler failed: -50"});

    bool ran = false;
    const KeyCombo combo{kKeyG, Modifiers::command};
    EXPECT_EQ(service.add(combo, false, [&] { ran = true; }).first, Kind::registered);
    EXPECT_EQ(hotKeys.press(combination(combo)), eventNotHandledErr);
    EXPECT_FALSE(ran);
}

TEST(HotKeyServiceStatusTest, Sentences) {
    using Status = HotKeyService::Status;
    EXPECT_EQ(Status::failed(-25).userDescription(), "Registration failed (-25)");
    EXPECT_FALSE(Status{Kind::registered}.userDescription().has_value());
    EXPECT_EQ(Status::unsupported(KeyCombo::Problem::noModifier).userDescription(),
              "Global shortcuts need a modifier key");
    EXPECT_EQ(Status::unsupported(KeyCombo::Problem::shiftOnly).userDescription(),
              "Global shortcuts need a modifier other than Shift");
    EXPECT_EQ(Status::unsupported(KeyCombo::Problem::reservedKey).userDescription(),
              "This key can't be a shortcut");
    EXPECT_EQ(Status{Kind::conflict}.userDescription(),
              "In use by another app or another Tilewise shortcut");
    EXPECT_EQ(Status{Kind::systemShortcut}.userDescription(),
              "Reserved by a macOS keyboard shortcut");
    EXPECT_EQ(Status{Kind::deferredForDivvy}.userDescription(), "Paused while Divvy is running");
    EXPECT_NE(Status::failed(1), Status::failed(2));
}

PropertyDictionary systemEntry(PropertyValue code, PropertyValue modifiers, PropertyValue enabled) {
    return {{std::string{kHISymbolicHotKeyCode}, std::move(code)},
            {std::string{kHISymbolicHotKeyModifiers}, std::move(modifiers)},
            {std::string{kHISymbolicHotKeyEnabled}, std::move(enabled)}};
}

TEST(SystemShortcutTest, OnlyAnEnabledWellTypedEntryWithTheSameKeyAndModifiersMatches) {
    const KeyCombo commandSpace{kSpace, Modifiers::command};
    const std::int64_t space = kSpace;
    const std::int64_t command = 0x100;
    struct Case {
        const char* why;
        SymbolicHotKeys list;
        bool reserved;
        KeyCombo combo = KeyCombo{kSpace, Modifiers::command};
    };
    const Case cases[] = {
        {"extra bits", {noErr, {{systemEntry(space, std::int64_t{0x20100}, true)}}}, true},
        {"another modifier",
         {noErr, {{systemEntry(space, std::int64_t{0x20100}, true)}}},
         false,
         {kSpace, {Modifiers::command, Modifiers::shift}}},
        {"disabled", {noErr, {{systemEntry(space, command, false)}}}, false},
        {"enabled is no boolean", {noErr, {{systemEntry(space, command, std::int64_t{1})}}}, false},
        {"key is no integer", {noErr, {{systemEntry(double{kSpace}, command, true)}}}, false},
        {"modifiers are text", {noErr, {{systemEntry(space, std::string{"256"}, true)}}}, false},
        {"empty entry", {noErr, {{PropertyDictionary{}}}}, false},
        {"modifiers beyond 32 bits",
         {noErr,
          {{systemEntry(space, -0x100000000LL + command, true),
            systemEntry(space, 0x100000000LL + command, true)}}},
         false},
        {"a bad entry before a good one",
         {noErr,
          {{systemEntry(space, -0x100000000LL + command, true),
            systemEntry(space, command, true)}}},
         true},
        {"unreadable list", {-1, std::nullopt}, false},
        {"no list", {noErr, std::nullopt}, false},
    };
    for (const auto& example : cases) {
        SimHotKeys hotKeys;
        hotKeys.setSymbolicHotKeys(example.list);
        EXPECT_EQ(HotKeyService::isSystemShortcut(example.combo, hotKeys), example.reserved)
            << example.why;
    }
    SimHotKeys simulated;
    EXPECT_TRUE(HotKeyService::isSystemShortcut(commandSpace, simulated));
    EXPECT_FALSE(HotKeyService::isSystemShortcut(KeyCombo{kKeyG, Modifiers::command}, simulated));
}

}  // namespace
}  // namespace tilewise
