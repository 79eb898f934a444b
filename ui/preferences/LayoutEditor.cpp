#include "ui/preferences/LayoutEditor.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/LayoutListEditing.h"
#include "app/PreferencesContext.h"
#include "app/SettingsStore.h"
#include "ui/preferences/PaneWidgets.h"
#include "ui/preferences/SelectionEditor.h"
#include "ui/preferences/ShortcutRecorder.h"
#include "ui/preferences/StatusText.h"
#include "ui/preferences/Stepper.h"

namespace tilewise {

using PaneWidgets::named;

LayoutEditor::LayoutEditor(PreferencesContext& context, QWidget* parent)
    : QWidget(parent), store_(context.store) {
    build(context);
}

void LayoutEditor::build(PreferencesContext& context) {
    auto* form = new QFormLayout;
    name_ = named(new QLineEdit(this), "layoutName", "Name");
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
        edit([&](SavedLayout& layout) { layout.name = text.toStdString(); });
    });
    form->addRow("Name", name_);
    enabled_ = named(new QCheckBox("Enabled", this), "layoutEnabled", "Enabled");
    connect(enabled_, &QCheckBox::toggled, this,
            [this](bool on) { edit([&](SavedLayout& layout) { layout.enabled = on; }); });
    form->addRow(enabled_);
    global_ = named(new QCheckBox("Global (works in any app)", this), "layoutGlobal",
                    "Global (works in any app)");
    connect(global_, &QCheckBox::toggled, this,
            [this](bool on) { edit([&](SavedLayout& layout) { layout.isGlobal = on; }); });
    form->addRow(global_);
    localCaption_ = PaneWidgets::caption("localShortcutCaption",
                                         "Local shortcuts work only while the grid panel is open.",
                                         PaneWidgets::TextStyle::secondary, this);
    form->addRow(localCaption_);

    shortcut_ = new ShortcutRecorder(
        context,
        {.read = [this] { return layout() ? layout()->shortcut : std::nullopt; },
         .write =
             [this](std::optional<KeyCombo> combo) {
                 edit([&](SavedLayout& layout) { layout.shortcut = combo; });
             }},
        "Shortcut", this);
    status_ = named(new StatusText(this), "layoutStatus", "Shortcut status");
    auto* shortcutColumn = new QVBoxLayout;
    shortcutColumn->addWidget(shortcut_, 0, Qt::AlignRight);
    shortcutColumn->addWidget(status_);
    form->addRow("Shortcut", shortcutColumn);

    columns_ = named(new Stepper({}, " columns", this), "layoutColumns", "Columns");
    rows_ = named(new Stepper({}, " rows", this), "layoutRows", "Rows");
    const auto resize = [this](LayoutListEditing::GridDimension dimension, int value) {
        edit([&](SavedLayout& layout) {
            LayoutListEditing::setGridDimension(layout, dimension, value);
        });
    };
    columns_->onStep = [=](int value) { resize(LayoutListEditing::GridDimension::columns, value); };
    rows_->onStep = [=](int value) { resize(LayoutListEditing::GridDimension::rows, value); };
    auto* steppers = new QHBoxLayout;
    steppers->addWidget(columns_);
    steppers->addWidget(rows_);
    form->addRow("Grid", steppers);

    cells_ = named(new SelectionEditor(this), "layoutCells", "Cells");
    cells_->onCommit = [this](CellSelection selection) {
        edit([&](SavedLayout& layout) { layout.selection = selection; });
    };
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(form);
    column->addWidget(cells_);
    column->addStretch();
}

void LayoutEditor::display(const Uuid& id, const std::optional<HotKeyService::Status>& status) {
    id_ = id;
    const auto* shown = layout();
    if (!shown)
        return;
    const auto name = QString::fromStdString(shown->name);
    if (name_->text() != name)
        name_->setText(name);
    PaneWidgets::showChecked(enabled_, shown->enabled);
    PaneWidgets::showChecked(global_, shown->isGlobal);
    localCaption_->setVisible(!shown->isGlobal);
    shortcut_->refresh();
    status_->setStatus(status);
    columns_->display(static_cast<int>(shown->grid.columns));
    rows_->display(static_cast<int>(shown->grid.rows));
    cells_->display(shown->grid, shown->selection);
}

const SavedLayout* LayoutEditor::layout() const {
    return LayoutListEditing::find(store_.settings(), id_);
}

void LayoutEditor::edit(const std::function<void(SavedLayout&)>& change) {
    PaneWidgets::editSettings(store_, [&](TilewiseSettings& settings) {
        if (auto* layout = LayoutListEditing::find(settings, id_))
            change(*layout);
    });
}

}  // namespace tilewise
