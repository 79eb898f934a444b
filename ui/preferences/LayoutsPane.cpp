#include "ui/preferences/LayoutsPane.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/LayoutListEditing.h"
#include "app/PreferencesContext.h"
#include "app/SettingsStore.h"
#include "ui/preferences/LayoutEditor.h"
#include "ui/preferences/LayoutListModel.h"
#include "ui/preferences/PaneWidgets.h"

namespace tilewise {
namespace {

using PaneWidgets::named;

// A row: the name, and the shortcut right-aligned in the secondary colour; a disabled
// layout's row is drawn half transparent.
class LayoutRowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->setOpacity(index.data(LayoutListModel::opacityRole).toDouble());
        QStyledItemDelegate::paint(painter, option, index);
        const auto shortcut = index.data(LayoutListModel::shortcutRole).toString();
        if (!shortcut.isEmpty()) {
            painter->setPen(option.palette.color(QPalette::PlaceholderText));
            painter->drawText(option.rect.adjusted(0, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter,
                              shortcut);
        }
        painter->restore();
    }
};

}  // namespace

LayoutsPane::LayoutsPane(PreferencesContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    placeholder_ = new QLabel("Select a layout, or click + to add one.", this);
    placeholder_->setObjectName("layoutsPlaceholder");
    placeholder_->setAlignment(Qt::AlignCenter);
    placeholder_->setEnabled(false);
    editor_ = new LayoutEditor(context, this);
    detail_ = new QStackedWidget(this);
    detail_->addWidget(placeholder_);
    detail_->addWidget(editor_);

    auto* columns = new QHBoxLayout(this);
    columns->addWidget(buildList());
    columns->addWidget(detail_, 1);

    settingsSubscription_ = context.store.subscribe([this](const TilewiseSettings&) { refresh(); });
    if (context.observeStatuses)
        statusSubscription_ = context.observeStatuses([this] { refresh(); });
}

QWidget* LayoutsPane::buildList() {
    auto* frame = new QFrame(this);
    frame->setFixedWidth(210);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    model_ = new LayoutListModel(context_.store, context_.keyboardLayout, context_.texts, this);
    list_ = named(new QListView(frame), "layoutList", "Saved layouts");
    list_->setModel(model_);
    list_->setItemDelegate(new LayoutRowDelegate(list_));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    list_->setDefaultDropAction(Qt::MoveAction);
    list_->setDragEnabled(true);
    list_->installEventFilter(this);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && model_->idAt(current.row()) != selectedID_)
                    select(model_->idAt(current.row()));
            });

    auto* addButton = named(new QToolButton(frame), "addLayout", "Add Layout");
    addButton->setText("+");
    connect(addButton, &QToolButton::clicked, this, [this] { add(); });
    removeButton_ = named(new QToolButton(frame), "removeLayout", "Remove Layout");
    removeButton_->setText("−");
    connect(removeButton_, &QToolButton::clicked, this, [this] { remove(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton);
    buttons->addWidget(removeButton_);
    buttons->addStretch();
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(1, 1, 1, 1);
    column->addWidget(list_, 1);
    column->addLayout(buttons);
    return frame;
}

void LayoutsPane::add() {
    auto settings = context_.store.settings();
    const auto id = LayoutListEditing::add(settings);
    context_.store.setSettings(std::move(settings));
    select(id);
}

void LayoutsPane::remove() {
    auto settings = context_.store.settings();
    const auto next = LayoutListEditing::remove(settings, selectedID_);
    context_.store.setSettings(std::move(settings));
    select(next);
}

void LayoutsPane::moveSelected(int offset) {
    if (!selectedID_)
        return;
    const auto row = model_->rowOf(*selectedID_);
    const auto destination = offset < 0 ? row + offset : row + offset + 1;
    if (row < 0 || destination < 0 || destination > model_->rowCount())
        return;
    model_->moveRows({}, row, 1, {}, destination);
    select(selectedID_);
}

void LayoutsPane::select(const std::optional<Uuid>& id) {
    selectedID_ = id;
    refresh();
}

bool LayoutsPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::AltModifier &&
            (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            moveSelected(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LayoutsPane::refresh() {
    model_->refresh();
    const auto row = selectedID_ ? model_->rowOf(*selectedID_) : -1;
    if (row >= 0) {
        list_->selectionModel()->setCurrentIndex(model_->index(row),
                                                 QItemSelectionModel::ClearAndSelect);
        const auto statuses = context_.statuses ? context_.statuses() : ShortcutStatuses{};
        const auto status = statuses.layoutStatus.find(*selectedID_);
        editor_->display(*selectedID_, status == statuses.layoutStatus.end()
                                           ? std::nullopt
                                           : std::optional{status->second});
        detail_->setCurrentWidget(editor_);
    } else {
        list_->selectionModel()->clearSelection();
        detail_->setCurrentWidget(placeholder_);
    }
    removeButton_->setEnabled(selectedID_.has_value());
}

}  // namespace tilewise
