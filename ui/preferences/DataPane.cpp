#include "ui/preferences/DataPane.h"

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/DivvyMigration.h"
#include "app/PreferencesContext.h"
#include "app/SettingsStore.h"
#include "app/SettingsTransfer.h"
#include "ui/preferences/FileManagerReveal.h"
#include "ui/preferences/PaneWidgets.h"

namespace tilewise {
namespace {

using PaneWidgets::named;
using PaneWidgets::TextStyle;

const QString kJsonFilter = QStringLiteral("JSON (*.json)");

std::optional<std::filesystem::path> chosen(const QString& file) {
    if (file.isEmpty())
        return std::nullopt;
    return std::filesystem::path{file.toStdString()};
}

QPushButton* button(const QString& objectName, const QString& title, QWidget* parent) {
    return named(new QPushButton(title, parent), objectName, title);
}

}  // namespace

DataPane::DataPane(PreferencesContext& context, QWidget* parent)
    : QWidget(parent), context_(context), dialogs_(standardDialogs()) {
    auto* column = new QVBoxLayout(this);
    loadProblem_ = PaneWidgets::caption("loadProblem", {}, TextStyle::warning, this);
    column->addWidget(loadProblem_);

    auto* configuration = new QGroupBox("Configuration", this);
    auto* configurationColumn = new QVBoxLayout(configuration);
    auto* buttons = new QHBoxLayout;
    auto* exportButton = button("exportSettings", "Export…", configuration);
    auto* importButton = button("importSettings", "Import…", configuration);
    auto* showButton = button("showSettingsFile", "Show Settings File", configuration);
    connect(exportButton, &QPushButton::clicked, this, [this] { exportSettings(); });
    connect(importButton, &QPushButton::clicked, this, [this] { importFile(); });
    connect(showButton, &QPushButton::clicked, this,
            [this] { dialogs_.reveal(context_.store.fileURL()); });
    buttons->addWidget(exportButton);
    buttons->addWidget(importButton);
    buttons->addWidget(showButton);
    buttons->addStretch();
    configurationColumn->addLayout(buttons);
    configurationColumn->addWidget(PaneWidgets::caption(
        "configurationCaption",
        "Settings are stored as versioned JSON. Imports are validated before anything is "
        "replaced.",
        TextStyle::secondary, configuration));
    column->addWidget(configuration);

    auto* divvy = new QGroupBox("Divvy", this);
    auto* divvyColumn = new QVBoxLayout(divvy);
    divvyImport_ =
        button("importFromDivvy", "Import Shortcuts and Grid Settings from Divvy…", divvy);
    connect(divvyImport_, &QPushButton::clicked, this, [this] {
        if (context_.importFromDivvy)
            context_.importFromDivvy();
    });
    divvyColumn->addWidget(divvyImport_, 0, Qt::AlignLeft);
    divvyColumn->addWidget(PaneWidgets::caption(
        "divvyCaption",
        "Reads only Divvy's shortcuts and grid/margin options. Divvy's preferences are not "
        "modified.",
        TextStyle::secondary, divvy));
    column->addWidget(divvy);

    message_ = new QLabel(this);
    message_->setObjectName("dataMessage");
    message_->setWordWrap(true);
    message_->hide();
    column->addWidget(message_);
    column->addStretch();

    settingsSubscription_ = context.store.subscribe([this](const TilewiseSettings&) { refresh(); });
}

DataPane::Dialogs DataPane::standardDialogs() {
    return {
        .chooseExportFile =
            [this] {
                const auto proposed =
                    QDir::home().filePath(QString::fromUtf8(SettingsTransfer::kProposedFileName));
                return chosen(
                    QFileDialog::getSaveFileName(this, "Export Settings", proposed, kJsonFilter));
            },
        .chooseImportFile =
            [this] {
                return chosen(QFileDialog::getOpenFileName(this, "Import Settings",
                                                           QDir::homePath(), kJsonFilter));
            },
        .reveal = [](const std::filesystem::path& file) { revealInFileManager(file); },
    };
}

void DataPane::exportSettings() {
    const auto file = dialogs_.chooseExportFile();
    if (!file)
        return;
    message_->setText(
        QString::fromStdString(SettingsTransfer::exportSettings(context_.store.settings(), *file)));
    message_->show();
}

void DataPane::importFile() {
    const auto file = dialogs_.chooseImportFile();
    if (!file)
        return;
    message_->setText(
        QString::fromStdString(SettingsTransfer::importSettings(context_.store, *file)));
    message_->show();
}

QString DataPane::message() const {
    return message_->isHidden() ? QString{} : message_->text();
}

void DataPane::refresh() {
    const auto& problem = context_.store.loadProblem();
    loadProblem_->setText(QString::fromStdString(problem.value_or("")));
    loadProblem_->setVisible(problem.has_value());
    divvyImport_->setEnabled(DivvyMigration::hasSavedShortcuts(context_.userDefaults));
}

}  // namespace tilewise
