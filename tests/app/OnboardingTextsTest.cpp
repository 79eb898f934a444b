#include "app/OnboardingTexts.h"

#include <gtest/gtest.h>

namespace tilewise {
namespace {

TEST(OnboardingTextsTest, OnLinuxNoSentenceNamesMacOSAndTheSimulatorKeepsTheWrittenOnes) {
    const auto onLinux = OnboardingTexts::renderedBy(PlatformTexts::forBackend("x11"));
    const auto simulated = OnboardingTexts::renderedBy(PlatformTexts::forBackend("sim"));
    const auto& written = OnboardingTexts::accessibility();
    const auto fields = [](const OnboardingTexts& texts) {
        return std::vector<std::string>{texts.windowTitle, texts.heading, texts.explanation,
                                        texts.steps,       texts.hint,    texts.waiting,
                                        texts.granted,     texts.button};
    };
    EXPECT_EQ(fields(simulated), fields(written));
    for (const auto& sentence : fields(onLinux)) {
        for (const auto* macOS : {"macOS", "System Settings", "Accessibility", "Privacy"}) {
            EXPECT_EQ(sentence.find(macOS), std::string::npos) << sentence;
        }
    }
    EXPECT_EQ(onLinux.button, "Check Again");
    EXPECT_EQ(onLinux.heading, written.heading);
}

}  // namespace
}  // namespace tilewise
