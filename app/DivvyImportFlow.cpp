#include "app/DivvyImportFlow.h"

namespace tilewise::DivvyImportFlow {
namespace {

std::string joinedNotes(const std::vector<std::string>& notes) {
    std::string text;
    for (const auto& note : notes) {
        if (!text.empty()) {
            text += "\n\n";
        }
        text += note;
    }
    return text;
}

}  // namespace

std::string failureText(std::string_view error) {
    return "Divvy's shortcuts could not be read (" + std::string{error} +
           "). You can recreate them in Preferences › Layouts.";
}

bool run(bool confirm, const Context& context) {
    if (confirm) {
        const auto choice =
            context.alerts.run({std::string{kConfirmMessage},
                                std::string{kConfirmText},
                                {std::string{kImportButton}, std::string{kCancelButton}}});
        if (choice != 0) {
            return false;
        }
    }
    auto result =
        DivvyMigration::migrate(context.store.settings(), context.defaults, context.keyName);
    if (!result) {
        context.alerts.run({"Tilewise", failureText(DivvyImport::caseName(result.error())), {}});
        return false;
    }
    context.store.setSettings(std::move(result->settings));
    auto notes = std::move(result->notes);
    if (const auto saved = context.store.saveNow(); !saved)
        notes.push_back("The settings could not be saved: " + saved.error() + ".");
    if (context.divvyIsRunning && context.divvyIsRunning()) {
        notes.emplace_back(kRunningNote);
    }
    context.alerts.run({std::string{kResultMessage}, joinedNotes(notes), {}});
    return true;
}

}  // namespace tilewise::DivvyImportFlow
