#include "app/GridPanelController.h"

#include <algorithm>
#include <cmath>

namespace tilewise {

GridPanelController::GridPanelController(GridPanelView& view, Scheduler& mainQueue,
                                         Platform& platform)
    : view_(view), mainQueue_(mainQueue), platform_(platform) {
    view_.onCancel = [this] { dismiss(); };
    view_.onKeyDown = [this](const PanelKeyPress& key) { return handleKey(key); };
    view_.onButton = [this](PanelButton button) { buttonPressed(button); };
    view_.onSelectionChanged = [this](std::optional<CellSelection> selection) {
        if (onSelectionChanged)
            onSelectionChanged(selection);
    };
    view_.onCommit = [this](CellSelection selection) {
        if (onCommit)
            onCommit(selection);
    };
}

GridPanelController::~GridPanelController() {
    view_.onCancel = nullptr;
    view_.onKeyDown = nullptr;
    view_.onButton = nullptr;
    view_.onSelectionChanged = nullptr;
    view_.onCommit = nullptr;
}

double GridPanelController::gridHeight(const Rect& visibleFrame) {
    const double height =
        std::round(kGridWidth * visibleFrame.height() / std::max(visibleFrame.width(), 1.0));
    // A NaN size is no aspect ratio at all; the floor is as good a height as any.
    if (std::isnan(height))
        return kMinimumGridHeight;
    return std::clamp(height, kMinimumGridHeight, kMaximumGridHeight);
}

void GridPanelController::show(const Screen& screen, GridSize grid, const CoordinateSpace& space) {
    setGrid(grid);
    view_.setGridHeight(gridHeight(screen.visibleFrame));
    ++fadeGeneration_;
    isDismissing_ = false;
    view_.present(space.topLeftFromAppKit(screen.visibleFrame));
}

void GridPanelController::dismiss() {
    if (!view_.isVisible() || isDismissing_)
        return;
    if (view_.isDragging()) {
        view_.cancelDrag();
        if (onSelectionChanged)
            onSelectionChanged(std::nullopt);
    }
    isDismissing_ = true;
    if (onDismiss)
        onDismiss();
    // The owner may have shown the panel again from inside onDismiss.
    if (!isDismissing_)
        return;
    if (fadesOut && !platform_.workspace().shouldReduceMotion()) {
        const std::int64_t generation = ++fadeGeneration_;
        view_.startFade(kFadeDuration);
        mainQueue_.schedule(kFadeDuration,
                            [this, alive = std::weak_ptr<int>(lifetime_), generation] {
                                if (!alive.expired() && fadeGeneration_ == generation)
                                    finishDismissal();
                            });
    } else {
        finishDismissal();
    }
}

void GridPanelController::finishDismissal() {
    view_.orderOut();
    isDismissing_ = false;
}

void GridPanelController::setGrid(GridSize grid) {
    view_.setGrid(grid);
}

void GridPanelController::setMessage(const std::string& message) {
    view_.setTitle(message, true);
    view_.setIcon(nullptr);
}

void GridPanelController::showTarget(const std::string& appName,
                                     std::shared_ptr<const Image> icon) {
    view_.setTitle(appName, false);
    view_.setIcon(std::move(icon));
}

void GridPanelController::raise() {
    if (view_.isVisible())
        view_.raise();
}

bool GridPanelController::handleKey(const PanelKeyPress& key) {
    PanelPlatform& panelPlatform = platform_.panelPlatform();
    const auto keyCode = panelPlatform.virtualKeyCode(key.nativeScanCode);
    if (key.modifiers == panelPlatform.standardCommandModifier() &&
        key.charactersIgnoringModifiers == ",") {
        openPreferences();
        return true;
    }
    if (!keyCode)
        return false;
    const KeyCombo combo{*keyCode, key.modifiers};
    if (panelShortcut == combo) {
        dismiss();
        return true;
    }
    return onKey ? onKey(combo) : false;
}

void GridPanelController::buttonPressed(PanelButton button) {
    switch (button) {
        case PanelButton::fewerColumns:
            return changeGrid(-1, 0);
        case PanelButton::moreColumns:
            return changeGrid(1, 0);
        case PanelButton::fewerRows:
            return changeGrid(0, -1);
        case PanelButton::moreRows:
            return changeGrid(0, 1);
        case PanelButton::openPreferences:
            return openPreferences();
        case PanelButton::close:
            return dismiss();
    }
}

void GridPanelController::changeGrid(std::int64_t columns, std::int64_t rows) {
    const GridSize current = view_.grid();
    const GridSize next{current.columns + columns, current.rows + rows};
    if (!next.isValid()) {
        beep();
        return;
    }
    setGrid(next);
    if (onGridSizeChange)
        onGridSizeChange(next);
}

void GridPanelController::openPreferences() {
    dismiss();
    if (onOpenPreferences)
        onOpenPreferences();
}

}  // namespace tilewise
