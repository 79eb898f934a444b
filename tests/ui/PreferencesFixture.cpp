#include "tests/ui/PreferencesFixture.h"

#include "platform/x11/VirtualKeyCodes.h"

namespace tilewise {
PreferencesFixture::PreferencesFixture()
    : context{
          .store = store,
          .permission = permission,
          .loginItem = loginItem,
          .keyboardLayout = keyboardLayout,
          .texts = PlatformTexts::forBackend("sim"),
          .userDefaults = userDefaults,
          .virtualKeyCode = [](std::uint32_t xKeycode) -> std::optional<std::uint16_t> {
              // The X server numbers every key as its evdev code plus 8.
              if (xKeycode <= 8 || xKeycode > 0xFFFF)
                  return std::nullopt;
              return x11::VirtualKeyCodes::virtualKeyCode(static_cast<std::uint16_t>(xKeycode - 8));
          },
          .statuses = [this] { return statuses; },
          .observeStatuses =
              [this](std::function<void()> observer) {
                  return statusPublisher.subscribe(
                      [observer](const ShortcutStatuses&) { observer(); });
              },
          .showOnboarding = [this] { ++onboardingRequests; },
          .importFromDivvy = [this] { ++divvyImports; },
          .gridTabChanged = [this](bool selected) { gridTabChanges.push_back(selected); },
          .windowStateChanged = [this] { ++windowStateChanges; },
      } {
    writeCounter_ =
        store.subscribe([this](const TilewiseSettings& settings) { writes.push_back(settings); });
    writes.clear();
}

void PreferencesFixture::changeSettings(const std::function<void(TilewiseSettings&)>& edit) {
    auto settings = store.settings();
    edit(settings);
    store.setSettings(std::move(settings));
}

void PreferencesFixture::publishStatuses(ShortcutStatuses newStatuses) {
    statuses = std::move(newStatuses);
    statusPublisher.publish(statuses);
}

void PreferencesFixture::toggle(QAbstractButton* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

QKeyEvent PreferencesFixture::xKeyPress(quint32 xKeycode, Qt::KeyboardModifiers modifiers,
                                        int qtKey, const QString& text) {
    return QKeyEvent(QEvent::KeyPress, qtKey, modifiers, xKeycode, 0, 0, text);
}

}  // namespace tilewise
