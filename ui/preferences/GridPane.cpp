#include "ui/preferences/GridPane.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/SettingsStore.h"
#include "ui/preferences/PaneWidgets.h"
#include "ui/preferences/PointsField.h"
#include "ui/preferences/Stepper.h"

namespace tilewise {
namespace {

using PaneWidgets::named;

struct MarginField {
    const char* objectName;
    const char* title;
    double& (*value)(Margins&);
};

// In the order the fields are shown: the screen edges, then the gaps between windows.
constexpr std::array<MarginField, 6> kMarginFields{{
    {"marginTop", "Top", [](Margins& m) -> double& { return m.screen.top; }},
    {"marginLeft", "Left", [](Margins& m) -> double& { return m.screen.left; }},
    {"marginBottom", "Bottom", [](Margins& m) -> double& { return m.screen.bottom; }},
    {"marginRight", "Right", [](Margins& m) -> double& { return m.screen.right; }},
    {"spacingHorizontal", "Horizontal", [](Margins& m) -> double& { return m.horizontalSpacing; }},
    {"spacingVertical", "Vertical", [](Margins& m) -> double& { return m.verticalSpacing; }},
}};
constexpr std::size_t kScreenEdgeFields = 4;

}  // namespace

GridPane::GridPane(SettingsStore& store, QWidget* parent) : QWidget(parent), store_(store) {
    auto* column = new QVBoxLayout(this);
    column->addWidget(buildGridSection());
    column->addWidget(buildMarginsSection());
    column->addStretch();
    settingsSubscription_ = store.subscribe([this](const TilewiseSettings&) { refresh(); });
}

QWidget* GridPane::buildGridSection() {
    auto* box = new QGroupBox("Grid", this);
    auto* form = new QVBoxLayout(box);
    columns_ = named(new Stepper("Columns: ", {}, box), "gridColumns", "Columns");
    rows_ = named(new Stepper("Rows: ", {}, box), "gridRows", "Rows");
    columns_->onStep = [this](int value) {
        PaneWidgets::editSettings(store_, [&](TilewiseSettings& s) { s.grid.columns = value; });
    };
    rows_->onStep = [this](int value) {
        PaneWidgets::editSettings(store_, [&](TilewiseSettings& s) { s.grid.rows = value; });
    };
    form->addWidget(columns_);
    form->addWidget(rows_);
    return box;
}

QWidget* GridPane::buildMarginsSection() {
    auto* box = new QGroupBox("Margins", this);
    auto* column = new QVBoxLayout(box);
    useMargins_ = named(new QCheckBox("Use margins", box), "useMargins", "Use margins");
    connect(useMargins_, &QCheckBox::toggled, this, [this](bool on) {
        PaneWidgets::editSettings(store_, [&](TilewiseSettings& s) { s.margins.enabled = on; });
    });
    column->addWidget(useMargins_);

    marginFields_ = new QWidget(box);
    auto* form = new QFormLayout(marginFields_);
    form->setContentsMargins(0, 0, 0, 0);
    auto* screenRow = new QHBoxLayout;
    auto* spacingRow = new QHBoxLayout;
    for (std::size_t i = 0; i < kMarginFields.size(); ++i) {
        const auto& margin = kMarginFields[i];
        auto* field = named(new PointsField(marginFields_), margin.objectName, margin.title);
        field->onEdit = [this, get = margin.value](double value) {
            PaneWidgets::editSettings(store_, [&](TilewiseSettings& s) { get(s.margins) = value; });
        };
        auto* row = i < kScreenEdgeFields ? screenRow : spacingRow;
        row->addWidget(new QLabel(margin.title, marginFields_));
        row->addWidget(field);
        fields_[i] = field;
    }
    screenRow->addStretch();
    spacingRow->addStretch();
    form->addRow("Screen edges (pt)", screenRow);
    form->addRow("Between windows (pt)", spacingRow);
    column->addWidget(marginFields_);

    rangeError_ =
        PaneWidgets::caption("marginsRangeError", "Margins must be between 0 and 500 points.",
                             PaneWidgets::TextStyle::error, box);
    column->addWidget(rangeError_);
    column->addWidget(PaneWidgets::caption(
        "marginsCaption",
        "Screen margins inset the usable display area. Between windows is the exact gap between "
        "adjacent windows; Divvy's “window margin” of 10 equals a gap of 5.",
        PaneWidgets::TextStyle::secondary, box));
    return box;
}

void GridPane::refresh() {
    auto settings = store_.settings();
    columns_->display(static_cast<int>(settings.grid.columns));
    rows_->display(static_cast<int>(settings.grid.rows));
    PaneWidgets::showChecked(useMargins_, settings.margins.enabled);
    marginFields_->setEnabled(settings.margins.enabled);
    for (std::size_t i = 0; i < kMarginFields.size(); ++i) {
        fields_[i]->display(kMarginFields[i].value(settings.margins));
    }
    rangeError_->setVisible(!settings.margins.isValid());
}

}  // namespace tilewise
