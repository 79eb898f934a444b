#include "platform/LogRules.h"

#include <QLoggingCategory>
#include <QString>
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/QtLogSink.h"

namespace tilewise {
namespace {

struct RuleCase {
    std::string rules;
    LogCategory category;
    LogLevel level;
    bool written;
};

void PrintTo(const RuleCase& rule, std::ostream* out) {
    *out << "\"" << rule.rules << "\" " << Log::name(rule.category) << " level "
         << static_cast<int>(rule.level);
}

// What Qt writes through the Qt programs' route, with the same rules given to Qt.
std::vector<std::string> qtWritten;
void keepQtMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    qtWritten.push_back(message.toStdString());
}

bool writtenThroughQt(const RuleCase& rule) {
    auto qtRules = rule.rules;
    std::ranges::replace(qtRules, ';', '\n');
    const auto previousWriter = Log::setWriter(nullptr);
    QtLogSink::install();
    const auto previousHandler = qInstallMessageHandler(keepQtMessage);
    QLoggingCategory::setFilterRules(QString::fromStdString(qtRules));
    qtWritten.clear();
    Log::write(rule.category, rule.level, "probe");
    QLoggingCategory::setFilterRules({});
    qInstallMessageHandler(previousHandler);
    Log::setWriter(previousWriter);
    return qtWritten == std::vector<std::string>{"probe"};
}

class LogRulesTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(LogRulesTest, DecideAsQtDecidesForItsPrograms) {
    const auto& rule = GetParam();
    EXPECT_EQ(LogRules{rule.rules}.enabled(Log::name(rule.category), rule.level), rule.written);
    EXPECT_EQ(writtenThroughQt(rule), rule.written) << "the Qt programs decide otherwise";
}

using enum LogCategory;
constexpr LogLevel kDebug = LogLevel::debug;
constexpr LogLevel kInfo = LogLevel::info;
constexpr LogLevel kError = LogLevel::error;

INSTANTIATE_TEST_SUITE_P(
    Rules, LogRulesTest,
    ::testing::Values(RuleCase{"", windows, kInfo, true}, RuleCase{"", app, kError, true},
                      RuleCase{"", windows, kDebug, false},
                      RuleCase{"windows.debug=true", windows, kDebug, true},
                      RuleCase{"windows.debug=true", hotkeys, kDebug, false},
                      RuleCase{"*.debug=true", settings, kDebug, true},
                      RuleCase{"*.debug=true;settings.debug=false", settings, kDebug, false},
                      RuleCase{"settings.debug=false;*.debug=true", settings, kDebug, true},
                      RuleCase{"win*=false", windows, kError, false},
                      RuleCase{"*keys.info=false", hotkeys, kInfo, false},
                      RuleCase{"*keys.info=false", hotkeys, kError, true},
                      RuleCase{"*ind*.critical=false", windows, kError, false},
                      RuleCase{"*=false;app.warning=true", app, kInfo, false},
                      RuleCase{" windows.debug = true ", windows, kDebug, true},
                      RuleCase{"windows.debug=yes;windows.debug", windows, kDebug, false},
                      RuleCase{"app=false\nwindows.debug=true", windows, kDebug, true},
                      RuleCase{"app=false\nwindows.debug=true", app, kInfo, false}));

}  // namespace
}  // namespace tilewise
