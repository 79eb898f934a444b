#include "ui/preferences/LayoutListModel.h"

#include <algorithm>

#include "app/LayoutListEditing.h"
#include "app/SettingsStore.h"
#include "ui/preferences/PaneWidgets.h"

namespace tilewise {
namespace {

constexpr double kDisabledOpacity = 0.5;

bool sameOrder(const std::vector<SavedLayout>& a, const std::vector<SavedLayout>& b) {
    return std::ranges::equal(a, b, {}, &SavedLayout::id, &SavedLayout::id);
}

}  // namespace

LayoutListModel::LayoutListModel(SettingsStore& store, KeyboardLayout& keyboardLayout,
                                 const PlatformTexts& texts, QObject* parent)
    : QAbstractListModel(parent),
      store_(store),
      keyboardLayout_(keyboardLayout),
      texts_(texts),
      layouts_(store.settings().layouts) {}

void LayoutListModel::refresh() {
    const auto& layouts = store_.settings().layouts;
    if (sameOrder(layouts, layouts_)) {
        layouts_ = layouts;
        if (!layouts_.empty())
            emit dataChanged(index(0), index(rowCount() - 1));
        return;
    }
    beginResetModel();
    layouts_ = layouts;
    endResetModel();
}

int LayoutListModel::rowOf(const Uuid& id) const {
    const auto found = std::ranges::find(layouts_, id, &SavedLayout::id);
    return found == layouts_.end() ? -1 : static_cast<int>(found - layouts_.begin());
}

Uuid LayoutListModel::idAt(int row) const {
    return layouts_.at(static_cast<std::size_t>(row)).id;
}

int LayoutListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(layouts_.size());
}

QVariant LayoutListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto& layout = layouts_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return layout.name.empty() ? QStringLiteral("Untitled")
                                       : QString::fromStdString(layout.name);
        case idRole:
            return QString::fromStdString(layout.id.string());
        case shortcutRole:
            return layout.shortcut
                       ? PaneWidgets::shortcutText(*layout.shortcut, keyboardLayout_, texts_)
                       : QString{};
        case opacityRole:
            return layout.enabled ? 1.0 : kDisabledOpacity;
        default:
            return {};
    }
}

QHash<int, QByteArray> LayoutListModel::roleNames() const {
    auto names = QAbstractListModel::roleNames();
    names.insert(idRole, "id");
    names.insert(shortcutRole, "shortcut");
    names.insert(opacityRole, "opacity");
    return names;
}

Qt::ItemFlags LayoutListModel::flags(const QModelIndex& index) const {
    // Rows are dragged between rows, never dropped onto one another.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

Qt::DropActions LayoutListModel::supportedDropActions() const {
    return Qt::MoveAction;
}

bool LayoutListModel::moveRows(const QModelIndex& sourceParent, int sourceRow, int count,
                               const QModelIndex& destinationParent, int destinationChild) {
    if (sourceParent.isValid() || destinationParent.isValid() || sourceRow < 0 || count <= 0 ||
        destinationChild < 0)
        return false;
    auto settings = store_.settings();
    if (!LayoutListEditing::move(settings, static_cast<std::size_t>(sourceRow),
                                 static_cast<std::size_t>(count),
                                 static_cast<std::size_t>(destinationChild)))
        return false;
    if (!beginMoveRows({}, sourceRow, sourceRow + count - 1, {}, destinationChild))
        return false;
    layouts_ = settings.layouts;
    endMoveRows();
    store_.setSettings(std::move(settings));
    return true;
}

}  // namespace tilewise
