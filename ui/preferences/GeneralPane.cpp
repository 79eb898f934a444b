#include "ui/preferences/GeneralPane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AccessibilityPermission.h"
#include "app/PreferencesContext.h"
#include "app/SettingsStore.h"
#include "ui/preferences/PaneWidgets.h"
#include "ui/preferences/ShortcutRecorder.h"
#include "ui/preferences/StatusText.h"

namespace tilewise {
namespace {

using PaneWidgets::named;
using PaneWidgets::TextStyle;

QGroupBox* section(const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    new QVBoxLayout(box);
    return box;
}

const char* placementTitle(PanelPlacement placement) {
    switch (placement) {
        case PanelPlacement::displayUnderMouse:
            return "Display under the pointer (like Divvy)";
        case PanelPlacement::displayWithTargetWindow:
            return "Display with the window";
    }
    return "";
}

}  // namespace

GeneralPane::GeneralPane(PreferencesContext& context, QWidget* parent)
    : QWidget(parent), context_(context), launch_(LaunchAtLogin::currentState(context.loginItem)) {
    auto* column = new QVBoxLayout(this);
    column->addWidget(buildPermissionSection());
    column->addWidget(buildStartupSection());
    column->addWidget(buildPanelSection());
    column->addWidget(buildBehaviorSection());
    column->addStretch();

    settingsSubscription_ = context.store.subscribe([this](const TilewiseSettings&) { refresh(); });
    if (context.observeStatuses)
        statusSubscription_ = context.observeStatuses([this] { refresh(); });
    trustSubscription_ = context.permission.subscribe([this](bool) { refresh(); });
}

GeneralPane::~GeneralPane() = default;

QWidget* GeneralPane::buildPermissionSection() {
    auto* box = section({}, this);
    auto* row = new QHBoxLayout;
    trust_ = new QLabel(box);
    trust_->setObjectName("trustState");
    const auto grant = rendered("Grant Access…");
    grantAccess_ = named(new QPushButton(grant, box), "grantAccess", grant);
    connect(grantAccess_, &QPushButton::clicked, this, [this] {
        if (context_.showOnboarding)
            context_.showOnboarding();
    });
    row->addWidget(trust_);
    row->addStretch();
    row->addWidget(grantAccess_);
    box->layout()->addItem(row);
    return box;
}

QWidget* GeneralPane::buildStartupSection() {
    auto* box = section({}, this);
    launchAtLogin_ =
        named(new QCheckBox("Launch at login", box), "launchAtLogin", "Launch at login");
    connect(launchAtLogin_, &QCheckBox::toggled, this, [this](bool on) { setLaunch(on); });
    launchError_ = PaneWidgets::caption("launchError", {}, TextStyle::warning, box);
    hiddenIconCaption_ = PaneWidgets::caption(
        "hiddenIconCaption",
        rendered("With the icon hidden, open Tilewise again from Finder to show Preferences."),
        TextStyle::secondary, box);
    box->layout()->addWidget(launchAtLogin_);
    box->layout()->addWidget(launchError_);
    box->layout()->addWidget(
        toggle("showMenuBarIcon", "Show menu bar icon", &TilewiseSettings::showMenuBarIcon));
    box->layout()->addWidget(hiddenIconCaption_);
    return box;
}

QWidget* GeneralPane::buildPanelSection() {
    auto* box = section("Panel", this);
    box->layout()->addWidget(toggle("panelShortcutEnabled", "Global shortcut to show the grid",
                                    &TilewiseSettings::panelShortcutEnabled));
    panelShortcutRow_ = new QWidget(box);
    panelShortcut_ = new ShortcutRecorder(
        context_,
        {.read = [this] { return context_.store.settings().panelShortcut; },
         .write =
             [this](std::optional<KeyCombo> combo) {
                 PaneWidgets::editSettings(context_.store, [&](TilewiseSettings& settings) {
                     settings.panelShortcut = combo;
                 });
             }},
        "Panel shortcut", panelShortcutRow_);
    panelShortcutStatus_ =
        named(new StatusText(panelShortcutRow_), "panelShortcutStatus", "Panel shortcut status");
    auto* row = new QHBoxLayout(panelShortcutRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(panelShortcut_);
    row->addWidget(panelShortcutStatus_, 1);
    box->layout()->addWidget(panelShortcutRow_);

    placement_ = named(new QComboBox(box), "panelPlacement", "Arrange windows on");
    for (const auto placement : kAllPanelPlacements) {
        placement_->addItem(placementTitle(placement), static_cast<int>(placement));
    }
    connect(placement_, &QComboBox::activated, this, [this](int index) {
        PaneWidgets::editSettings(context_.store, [&](TilewiseSettings& settings) {
            settings.panelPlacement = kAllPanelPlacements.at(static_cast<std::size_t>(index));
        });
    });
    auto* placementRow = new QFormLayout;
    placementRow->addRow("Arrange windows on", placement_);
    box->layout()->addItem(placementRow);
    box->layout()->addWidget(toggle("keepPanelOpen", "Keep panel open until dismissed",
                                    &TilewiseSettings::keepPanelOpen));
    box->layout()->addWidget(toggle("selectOnScreen", "Drag across the on-screen grid to select",
                                    &TilewiseSettings::selectOnScreen));
    selectOnScreenCaption_ = PaneWidgets::caption(
        "selectOnScreenCaption",
        "While the grid is open, drag across the grid on your display to place the window, as "
        "well as in the panel. Clicks on that display then select cells; press Escape to close "
        "the grid.",
        TextStyle::secondary, box);
    box->layout()->addWidget(selectOnScreenCaption_);
    return box;
}

QWidget* GeneralPane::buildBehaviorSection() {
    auto* box = section("Behavior", this);
    box->layout()->addWidget(toggle("animationsEnabled", "Animate the grid panel",
                                    &TilewiseSettings::animationsEnabled));
    box->layout()->addWidget(
        toggle("showResizePreview", "Show resize preview", &TilewiseSettings::showResizePreview));
    box->layout()->addWidget(toggle("monitorCycling",
                                    "Cycle between displays by repeating a shortcut",
                                    &TilewiseSettings::monitorCycling));
    return box;
}

QCheckBox* GeneralPane::toggle(const QString& objectName, const QString& title,
                               bool TilewiseSettings::*field) {
    auto* box = named(new QCheckBox(title, this), objectName, title);
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
        PaneWidgets::editSettings(context_.store,
                                  [&](TilewiseSettings& settings) { settings.*field = on; });
    });
    toggles_.emplace_back(box, field);
    return box;
}

void GeneralPane::showEvent(QShowEvent* event) {
    launch_ = LaunchAtLogin::currentState(context_.loginItem);
    refresh();
    QWidget::showEvent(event);
}

void GeneralPane::setLaunch(bool on) {
    launch_ = LaunchAtLogin::change(context_.loginItem, on);
    const bool enabled = launch_.enabled;
    PaneWidgets::editSettings(
        context_.store, [&](TilewiseSettings& settings) { settings.launchAtLogin = enabled; });
    refresh();
}

QString GeneralPane::rendered(std::string_view text) const {
    return QString::fromStdString(context_.texts.render(text));
}

void GeneralPane::refresh() {
    const auto& settings = context_.store.settings();
    const bool trusted = context_.permission.isTrusted();
    trust_->setText(trusted ? rendered("✔ Accessibility access granted")
                            : rendered("⚠ Accessibility access needed"));
    trust_->setStyleSheet(trusted ? "color: #2e9b3a" : "color: #e67e00");
    grantAccess_->setVisible(!trusted);
    PaneWidgets::showChecked(launchAtLogin_, launch_.enabled);
    launchError_->setText(rendered(launch_.message.value_or("")));
    launchError_->setVisible(launch_.message.has_value());
    for (const auto& [box, field] : toggles_) {
        PaneWidgets::showChecked(box, settings.*field);
    }
    hiddenIconCaption_->setVisible(!settings.showMenuBarIcon);
    panelShortcutRow_->setEnabled(settings.panelShortcutEnabled);
    panelShortcut_->refresh();
    panelShortcutStatus_->setStatus(context_.statuses ? context_.statuses().panelShortcutStatus
                                                      : std::nullopt);
    placement_->setCurrentIndex(
        static_cast<int>(std::ranges::find(kAllPanelPlacements, settings.panelPlacement) -
                         kAllPanelPlacements.begin()));
    selectOnScreenCaption_->setVisible(settings.selectOnScreen);
}

}  // namespace tilewise
