#pragma once

#include <QWidget>

#include "app/GridPanelView.h"
#include "platform/Scheduler.h"

class QLabel;
class QKeyEvent;
class QPropertyAnimation;
class QToolButton;

namespace tilewise {

class GridView;

/// The grid panel's window: an override-redirect panel that is never activated, so the target
/// application stays in front, yet takes the keyboard with an active grab while it is shown.
class GridPanel final : public QWidget, public GridPanelView {
  public:
    static constexpr int kContentWidth = 340;
    /// How long, at most, the panel keeps asking for the keyboard after it shows.
    static constexpr Scheduler::Duration kGrabPatience{1000};

    explicit GridPanel(Scheduler& mainQueue, QWidget* parent = nullptr);

    GridSize grid() const override;
    void setGrid(GridSize grid) override;
    bool isDragging() const override;
    void cancelDrag() override;
    void setGridHeight(double height) override;
    void setTitle(const std::string& text, bool isMessage) override;
    void setIcon(std::shared_ptr<const Image> icon) override;
    void present(const Rect& visibleFrame) override;
    bool isVisible() const override { return QWidget::isVisible(); }
    void raise() override { QWidget::raise(); }
    void startFade(Scheduler::Duration duration) override;
    void orderOut() override;

    GridView& gridView() { return *gridView_; }
    QLabel& titleLabel() { return *titleLabel_; }
    QLabel& iconView() { return *iconView_; }
    QLabel& sizeLabel() { return *sizeLabel_; }
    QToolButton& button(PanelButton button);
    /// True while the panel holds the keyboard.
    bool hasKeyboard() const { return keyboardGrabbed_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void buildContent();
    QToolButton* makeButton(PanelButton button, const QString& symbol, const QString& label);
    void takeKeyboard(Scheduler::Duration waited);
    void releaseKeyboard();

    Scheduler& mainQueue_;
    GridView* gridView_ = nullptr;
    QLabel* iconView_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    std::vector<std::pair<PanelButton, QToolButton*>> buttons_;
    QPropertyAnimation* fade_ = nullptr;
    QString fullTitle_;
    bool keyboardGrabbed_ = false;
    std::uint64_t showing_ = 0;  ///< counts showings, so a stale grab retry stops
};

}  // namespace tilewise
