#pragma once

#include <QObject>
#include <memory>

#include "app/PreferencesWindow.h"

class QWidget;

namespace tilewise {

struct PreferencesContext;
class PreferencesView;

/// Owns the preferences window: created on the first `show`, kept for the life of the process,
/// so reopening it shows the same tab and state. Tells the coordinator when the window becomes
/// or stops being active, changes screen or closes.
class PreferencesWindowController : public QObject, public PreferencesWindow {
    Q_OBJECT

  public:
    static constexpr int kWidth = 620;
    static constexpr int kHeight = 480;

    explicit PreferencesWindowController(PreferencesContext& context, QObject* parent = nullptr);
    ~PreferencesWindowController() override;

    void show() override;
    bool isGridTabSelected() const override;
    std::optional<Placement> activePlacement() const override;

    /// The window; null before the first `show`.
    QWidget* window() const { return window_.get(); }
    /// Its content; null before the first `show`.
    PreferencesView* view() const { return view_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createWindow();
    void notifyStateChanged();

    PreferencesContext& context_;
    std::unique_ptr<QWidget> window_;
    PreferencesView* view_ = nullptr;
};

}  // namespace tilewise
