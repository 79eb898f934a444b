#include "ui/preferences/PreferencesView.h"

#include <QIcon>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/PreferencesContext.h"
#include "ui/preferences/DataPane.h"
#include "ui/preferences/GeneralPane.h"
#include "ui/preferences/GridPane.h"
#include "ui/preferences/LayoutsPane.h"
#include "ui/preferences/PaneWidgets.h"

namespace tilewise {
namespace {

// The window keeps its size; a pane taller than the tab (General) scrolls instead of squeezing
// its rows into one another.
QScrollArea* scrolling(QWidget* pane, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidget(pane);
    return area;
}

}  // namespace

PreferencesView::PreferencesView(PreferencesContext& context, QWidget* parent) : QWidget(parent) {
    tabs_ = PaneWidgets::named(new QTabWidget(this), "preferencesTabs", "Preferences");
    general_ = PaneWidgets::named(new GeneralPane(context, tabs_), "generalPane", "General");
    grid_ = PaneWidgets::named(new GridPane(context.store, tabs_), "gridPane", "Grid");
    layouts_ = PaneWidgets::named(new LayoutsPane(context, tabs_), "layoutsPane", "Layouts");
    data_ = PaneWidgets::named(new DataPane(context, tabs_), "dataPane", "Data");
    // In the order of PreferencesTab.
    tabs_->addTab(scrolling(general_, tabs_), QIcon::fromTheme("preferences-system"), "General");
    tabs_->addTab(scrolling(grid_, tabs_), QIcon::fromTheme("view-grid"), "Grid");
    tabs_->addTab(scrolling(layouts_, tabs_), QIcon::fromTheme("view-split-left-right"), "Layouts");
    tabs_->addTab(scrolling(data_, tabs_), QIcon::fromTheme("drive-harddisk"), "Data");
    connect(tabs_, &QTabWidget::currentChanged, this, [this, &context] {
        if (context.gridTabChanged)
            context.gridTabChanged(tab() == PreferencesTab::grid);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addWidget(tabs_);
}

PreferencesTab PreferencesView::tab() const {
    return kAllPreferencesTabs.at(static_cast<std::size_t>(tabs_->currentIndex()));
}

void PreferencesView::setTab(PreferencesTab tab) {
    tabs_->setCurrentIndex(static_cast<int>(tab));
}

}  // namespace tilewise
