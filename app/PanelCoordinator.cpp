#include "app/PanelCoordinator.h"

#include <algorithm>

namespace tilewise {
namespace {

constexpr std::string_view kFindingWindow = "Finding window…";

}  // namespace

template <typename Body>
auto PanelCoordinator::whileAlive(Body body) {
    return [self = std::weak_ptr<PanelCoordinator*>(self_), body](auto&&... arguments) {
        if (const auto alive = self.lock())
            body(**alive, std::forward<decltype(arguments)>(arguments)...);
    };
}

PanelCoordinator::PanelCoordinator(AppCoordinator& app, GridPanelController& panel,
                                   GridOverlay& preview)
    : app_(app), panel_(panel), preview_(preview) {
    wire();
    app_.setGridPanel(this);
}

PanelCoordinator::~PanelCoordinator() {
    app_.setGridPanel(nullptr);
    if (escapeHotKey_)
        app_.hotKeys().unregister(*escapeHotKey_);
    panel_.onSelectionChanged = nullptr;
    panel_.onCommit = nullptr;
    panel_.onDismiss = nullptr;
    panel_.onKey = nullptr;
    panel_.onGridSizeChange = nullptr;
    panel_.onOpenPreferences = nullptr;
    preview_.onSelectionChanged = nullptr;
    preview_.onCommit = nullptr;
}

void PanelCoordinator::wire() {
    const auto preview = whileAlive([](PanelCoordinator& self, std::optional<CellSelection> s) {
        self.showSelectionPreview(s);
    });
    const auto commit = whileAlive(
        [](PanelCoordinator& self, CellSelection selection) { self.commitSelection(selection); });
    panel_.onSelectionChanged = preview;
    panel_.onCommit = commit;
    preview_.onSelectionChanged = preview;
    preview_.onCommit = commit;
    panel_.onDismiss = whileAlive([](PanelCoordinator& self) { self.panelDismissed(); });
    panel_.onKey = [self = std::weak_ptr<PanelCoordinator*>(self_)](const KeyCombo& combo) {
        const auto alive = self.lock();
        return alive && (*alive)->keyPressed(combo);
    };
    panel_.onGridSizeChange =
        whileAlive([](PanelCoordinator& self, GridSize grid) { self.gridSizeChanged(grid); });
    panel_.onOpenPreferences =
        whileAlive([](PanelCoordinator& self) { self.app_.showPreferences(); });
}

void PanelCoordinator::setOptions(bool keepOpen, bool fadesOut) {
    panel_.keepOpen = keepOpen;
    panel_.fadesOut = fadesOut;
}

void PanelCoordinator::show() {
    if (!app_.permission().isTrusted()) {
        app_.showOnboarding();
        return;
    }
    if (app_.store().settings().panelPlacement == PanelPlacement::displayWithTargetWindow) {
        // The window decides the display, so the panel waits for the capture.
        app_.windows().captureFocusedTarget(
            whileAlive([](PanelCoordinator& self, WindowController::CaptureResult result) {
                const auto displays = self.app_.displays().displays();
                std::optional<DisplayInfo> display;
                if (result)
                    display = DisplayTopology::displayContaining(result->frame, displays);
                if (!display)
                    display = self.app_.displays().displayUnderMouse();
                const auto screen = display ? self.app_.displays().screen(*display) : std::nullopt;
                if (!screen)
                    return;
                self.panelDisplay_ = display;
                self.presentPanel(*screen);
                self.showPanelTarget(result);
            }));
        return;
    }
    const auto display = app_.displays().displayUnderMouse();
    const auto screen = display ? app_.displays().screen(*display) : std::nullopt;
    if (!screen)
        return;
    panelDisplay_ = display;
    panel_.setMessage(std::string{kFindingWindow});
    presentPanel(*screen);
    captureTargetForPanel();
}

void PanelCoordinator::presentPanel(const Screen& screen) {
    const auto& settings = app_.store().settings();
    // While the panel holds the keyboard the shortcut's own registration cannot fire.
    panel_.panelShortcut =
        settings.panelShortcutEnabled ? settings.panelShortcut : std::optional<KeyCombo>{};
    panel_.show(screen, settings.grid, space());
    showPreviewGrid();
    if (!escapeHotKey_) {
        escapeHotKey_ = app_.hotKeys()
                            .add(kEscape, true,
                                 whileAlive([](PanelCoordinator& self) { self.panel_.dismiss(); }))
                            .second;
    }
}

void PanelCoordinator::captureTargetForPanel() {
    app_.windows().captureFocusedTarget(
        whileAlive([](PanelCoordinator& self, WindowController::CaptureResult result) {
            if (self.panel_.isOpen())
                self.showPanelTarget(result);
        }));
}

void PanelCoordinator::showPanelTarget(const WindowController::CaptureResult& result) {
    if (result) {
        panelTarget_ = *result;
        panel_.showTarget(result->appName, result->appIcon);
        return;
    }
    if (result.error().kind() == WindowError::Kind::tilewiseItself)
        return;
    panelTarget_.reset();
    panel_.setMessage(result.error().userDescription());
    if (result.error().kind() == WindowError::Kind::permissionMissing)
        app_.showOnboarding();
}

void PanelCoordinator::applicationActivated() {
    if (!panel_.isOpen())
        return;
    captureTargetForPanel();
    // The application that came forward may have raised a window over ours.
    preview_.raise();
    panel_.raise();
}

void PanelCoordinator::showSelectionPreview(const std::optional<CellSelection>& selection) {
    if (!overlayEnabled() || !panelDisplay_)
        return;
    std::optional<Rect> frame;
    if (selection) {
        const auto computed =
            LayoutEngine::frame(*selection, panel_.grid(), panelDisplay_->visibleFrame,
                                app_.store().settings().margins, panelDisplay_->backingScale);
        if (computed)
            frame = *computed;
    }
    preview_.setSelection(frame);
}

void PanelCoordinator::commitSelection(const CellSelection& selection) {
    preview_.setSelection(std::nullopt);
    if (!panelTarget_ || !panelDisplay_) {
        panel_.beep();
        return;
    }
    app_.apply(selection, panel_.grid(), *panelTarget_, *panelDisplay_, std::nullopt);
    if (!app_.store().settings().keepPanelOpen)
        panel_.dismiss();
}

bool PanelCoordinator::keyPressed(const KeyCombo& combo) {
    const auto& layouts = app_.store().settings().layouts;
    const auto layout = std::ranges::find_if(layouts, [&](const SavedLayout& candidate) {
        return candidate.enabled && candidate.shortcut == combo;
    });
    if (layout == layouts.end())
        return false;
    app_.applyLayout(layout->id);
    return true;
}

void PanelCoordinator::gridSizeChanged(GridSize grid) {
    TilewiseSettings settings = app_.store().settings();
    settings.grid = grid;
    app_.store().setSettings(std::move(settings));
    showPreviewGrid();
}

void PanelCoordinator::panelDismissed() {
    if (escapeHotKey_) {
        app_.hotKeys().unregister(*escapeHotKey_);
        escapeHotKey_.reset();
    }
    preview_.hide();
    panelTarget_.reset();
    panelDisplay_.reset();
    updatePreferencesPreview();
}

bool PanelCoordinator::overlayEnabled() const {
    const auto& settings = app_.store().settings();
    return settings.showResizePreview || settings.selectOnScreen;
}

CoordinateSpace PanelCoordinator::space() {
    const auto screens = app_.platform().screens().screens();
    return CoordinateSpace{screens.empty() ? 0.0 : screens.front().frame.height()};
}

void PanelCoordinator::showPreviewGrid() {
    if (!overlayEnabled() || !panel_.isOpen() || !panelDisplay_) {
        preview_.hide();
        return;
    }
    const auto& settings = app_.store().settings();
    preview_.showGrid(*panelDisplay_, panel_.grid(), settings.margins, std::nullopt,
                      settings.selectOnScreen);
    panel_.raise();
}

void PanelCoordinator::setPreferencesPreview(std::optional<DisplayInfo> display,
                                             GridOverlay::WindowId below) {
    preferencesDisplay_ = std::move(display);
    preferencesWindow_ = below;
    updatePreferencesPreview();
}

void PanelCoordinator::updatePreferencesPreview() {
    if (panel_.isOpen())
        return;
    if (!preferencesDisplay_) {
        preview_.hide();
        return;
    }
    const auto& settings = app_.store().settings();
    preview_.showGrid(*preferencesDisplay_, settings.grid, settings.margins, preferencesWindow_,
                      false);
    const auto frame = LayoutEngine::frame(CellSelection::full(settings.grid), settings.grid,
                                           preferencesDisplay_->visibleFrame, settings.margins,
                                           preferencesDisplay_->backingScale);
    preview_.setSelection(frame ? std::optional<Rect>(*frame) : std::nullopt);
}

}  // namespace tilewise
