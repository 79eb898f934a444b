#pragma once

#include <QWidget>
#include <optional>

#include "app/Publisher.h"
#include "core/Uuid.h"

class QLabel;
class QListView;
class QStackedWidget;
class QToolButton;

namespace tilewise {

struct PreferencesContext;
class LayoutEditor;
class LayoutListModel;

/// The Layouts tab: the saved layouts in settings order with "+" and "−", and the editor of
/// the selected one. Rows are reordered by dragging or with Alt+Up and Alt+Down.
class LayoutsPane : public QWidget {
    Q_OBJECT

  public:
    explicit LayoutsPane(PreferencesContext& context, QWidget* parent = nullptr);

    /// Appends a new layout covering the whole grid and selects it.
    void add();
    /// Removes the selected layout and selects the first remaining one.
    void remove();
    /// Moves the selected layout one place up (-1) or down (+1).
    void moveSelected(int offset);
    const std::optional<Uuid>& selectedID() const { return selectedID_; }
    void select(const std::optional<Uuid>& id);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildList();
    void refresh();

    PreferencesContext& context_;
    std::optional<Uuid> selectedID_;
    LayoutListModel* model_ = nullptr;
    QListView* list_ = nullptr;
    QToolButton* removeButton_ = nullptr;
    QStackedWidget* detail_ = nullptr;
    QLabel* placeholder_ = nullptr;
    LayoutEditor* editor_ = nullptr;
    Subscription settingsSubscription_;
    Subscription statusSubscription_;
};

}  // namespace tilewise
