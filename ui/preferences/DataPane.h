#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/Publisher.h"

class QLabel;
class QPushButton;

namespace tilewise {

struct PreferencesContext;

/// The Data tab: export, import and reveal the settings file, and import Divvy's shortcuts.
class DataPane : public QWidget {
    Q_OBJECT

  public:
    /// The modal file choices and the file manager, replaceable where no one can answer them.
    struct Dialogs {
        std::function<std::optional<std::filesystem::path>()> chooseExportFile;
        std::function<std::optional<std::filesystem::path>()> chooseImportFile;
        std::function<void(const std::filesystem::path&)> reveal;
    };

    explicit DataPane(PreferencesContext& context, QWidget* parent = nullptr);

    void setDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }
    void exportSettings();
    void importFile();
    /// The result of the last export or import; empty before the first.
    QString message() const;

  private:
    Dialogs standardDialogs();
    void refresh();

    PreferencesContext& context_;
    Dialogs dialogs_;
    QLabel* loadProblem_ = nullptr;
    QPushButton* divvyImport_ = nullptr;
    QLabel* message_ = nullptr;
    Subscription settingsSubscription_;
};

}  // namespace tilewise
