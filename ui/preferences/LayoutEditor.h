#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "app/HotKeyService.h"
#include "core/Settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace tilewise {

struct PreferencesContext;
class SelectionEditor;
class SettingsStore;
class ShortcutRecorder;
class StatusText;
class Stepper;

/// The editor of one saved layout: name, Enabled, Global, shortcut with its status, grid size
/// and cells. Every control writes the layout inside the store's settings at once.
class LayoutEditor : public QWidget {
    Q_OBJECT

  public:
    explicit LayoutEditor(PreferencesContext& context, QWidget* parent = nullptr);

    /// Edits the layout with `id` and shows the store's current values with `status`.
    void display(const Uuid& id, const std::optional<HotKeyService::Status>& status);

  private:
    void build(PreferencesContext& context);
    /// The layout being edited as the store holds it now; null when it is gone.
    const SavedLayout* layout() const;
    void edit(const std::function<void(SavedLayout&)>& change);

    SettingsStore& store_;
    Uuid id_;
    QLineEdit* name_ = nullptr;
    QCheckBox* enabled_ = nullptr;
    QCheckBox* global_ = nullptr;
    QLabel* localCaption_ = nullptr;
    ShortcutRecorder* shortcut_ = nullptr;
    StatusText* status_ = nullptr;
    Stepper* columns_ = nullptr;
    Stepper* rows_ = nullptr;
    SelectionEditor* cells_ = nullptr;
};

}  // namespace tilewise
