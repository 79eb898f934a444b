#pragma once

#include <memory>
#include <optional>

#include "app/AppCoordinator.h"
#include "app/GridOverlay.h"
#include "app/GridPanelController.h"
#include "app/GridPanelFlow.h"

namespace tilewise {

/// The coordinator's side of the grid panel and the on-screen grid: opens the panel on the
/// right display for the frontmost window, keeps its target current, places the window on the
/// cells the user selects, and draws the grid and the preview over the panel's display.
/// Main thread only.
class PanelCoordinator final : public GridPanelFlow {
  public:
    /// The Escape key, registered while the panel is open.
    static constexpr KeyCombo kEscape{53, Modifiers{}};

    /// Wires the panel's and the overlay's callbacks and plugs itself into `app`.
    PanelCoordinator(AppCoordinator& app, GridPanelController& panel, GridOverlay& preview);
    PanelCoordinator(const PanelCoordinator&) = delete;
    PanelCoordinator& operator=(const PanelCoordinator&) = delete;
    ~PanelCoordinator() override;

    bool isOpen() const override { return panel_.isOpen(); }
    std::optional<WindowTarget> target() const override { return panelTarget_; }
    std::optional<DisplayInfo> display() const override { return panelDisplay_; }
    void show() override;
    void dismiss() override { panel_.dismiss(); }
    void setOptions(bool keepOpen, bool fadesOut) override;
    void applicationActivated() override;

    /// Shows, below the preferences window `below` on `display`, the grid and where a
    /// full-grid window would go; absent hides it. The preferences call this when their grid
    /// tab is shown or left, or their window moves; while the panel is open it waits.
    void setPreferencesPreview(std::optional<DisplayInfo> display, GridOverlay::WindowId below);

  private:
    void wire();
    void presentPanel(const Screen& screen);
    void captureTargetForPanel();
    void showPanelTarget(const WindowController::CaptureResult& result);
    void showSelectionPreview(const std::optional<CellSelection>& selection);
    void commitSelection(const CellSelection& selection);
    void showPreviewGrid();
    void updatePreferencesPreview();
    void panelDismissed();
    bool keyPressed(const KeyCombo& combo);
    void gridSizeChanged(GridSize grid);
    bool overlayEnabled() const;
    CoordinateSpace space();
    /// `body` run with this object, or nothing once it is gone.
    template <typename Body>
    auto whileAlive(Body body);

    AppCoordinator& app_;
    GridPanelController& panel_;
    GridOverlay& preview_;
    std::optional<WindowTarget> panelTarget_;
    std::optional<DisplayInfo> panelDisplay_;
    std::optional<HotKeyService::RegistrationID> escapeHotKey_;
    std::optional<DisplayInfo> preferencesDisplay_;
    GridOverlay::WindowId preferencesWindow_ = 0;
    std::shared_ptr<PanelCoordinator*> self_ = std::make_shared<PanelCoordinator*>(this);
};

}  // namespace tilewise
