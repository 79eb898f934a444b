#include "app/PreferencesConnection.h"

#include <gtest/gtest.h>

namespace tilewise {
namespace {

const std::vector<DisplayInfo> kDisplays{
    {.id = 1, .frame = {0, 0, 1920, 1080}, .visibleFrame = {0, 0, 1920, 1050}},
    {.id = 2, .frame = {1920, 0, 1280, 1024}, .visibleFrame = {1920, 0, 1280, 1024}},
};

std::optional<std::uint32_t> previewOn(bool gridTab,
                                       std::optional<PreferencesWindow::Placement> window) {
    const auto display = PreferencesConnection::previewDisplay(gridTab, window, kDisplays);
    return display ? std::optional{display->id} : std::nullopt;
}

TEST(PreferencesConnectionTest, ThePreviewFollowsTheActiveWindowOnTheGridTab) {
    const PreferencesWindow::Placement onFirst{.frame = {650, 300, 620, 480}, .nativeWindow = 7};
    const PreferencesWindow::Placement mostlyOnSecond{.frame = {1800, 300, 620, 480},
                                                      .nativeWindow = 7};
    EXPECT_EQ(previewOn(true, onFirst), 1u);
    EXPECT_EQ(previewOn(true, mostlyOnSecond), 2u) << "moving the window moves the preview";
    EXPECT_EQ(previewOn(false, onFirst), std::nullopt) << "another tab";
    EXPECT_EQ(previewOn(true, std::nullopt), std::nullopt) << "closed or not active";
}

}  // namespace
}  // namespace tilewise
