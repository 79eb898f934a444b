#pragma once

#include <QAbstractListModel>
#include <vector>

#include "core/Settings.h"
#include "platform/PlatformTexts.h"

namespace tilewise {

class KeyboardLayout;
class SettingsStore;

/// The saved layouts in settings order, one row each, for the Layouts pane's list. Moving rows
/// (a drag inside the list, or the keyboard) moves the layouts in one settings write, so a
/// layout never appears twice, not even for a moment.
class LayoutListModel : public QAbstractListModel {
    Q_OBJECT

  public:
    enum Role {
        idRole = Qt::UserRole + 1,  ///< the layout's id as text
        shortcutRole,               ///< the shortcut's text; empty without one
        opacityRole,                ///< 1 for an enabled layout, 0.5 for a disabled one
    };

    LayoutListModel(SettingsStore& store, KeyboardLayout& keyboardLayout,
                    const PlatformTexts& texts, QObject* parent = nullptr);

    /// Follows the store's layouts: rows keep their place when only their contents changed.
    void refresh();
    /// The row of the layout with `id`, or -1.
    int rowOf(const Uuid& id) const;
    Uuid idAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;
    bool moveRows(const QModelIndex& sourceParent, int sourceRow, int count,
                  const QModelIndex& destinationParent, int destinationChild) override;

  private:
    SettingsStore& store_;
    KeyboardLayout& keyboardLayout_;
    const PlatformTexts& texts_;
    std::vector<SavedLayout> layouts_;
};

}  // namespace tilewise
