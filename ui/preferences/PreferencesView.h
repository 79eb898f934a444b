#pragma once

#include <QWidget>

#include "ui/preferences/PreferencesTab.h"

class QTabWidget;

namespace tilewise {

struct PreferencesContext;
class DataPane;
class GeneralPane;
class GridPane;
class LayoutsPane;

/// The content of the preferences window: the four tabs General, Grid, Layouts and Data. A
/// change of tab tells the coordinator whether the Grid tab is shown.
class PreferencesView : public QWidget {
    Q_OBJECT

  public:
    explicit PreferencesView(PreferencesContext& context, QWidget* parent = nullptr);

    PreferencesTab tab() const;
    void setTab(PreferencesTab tab);

    GeneralPane& generalPane() { return *general_; }
    GridPane& gridPane() { return *grid_; }
    LayoutsPane& layoutsPane() { return *layouts_; }
    DataPane& dataPane() { return *data_; }

  private:
    QTabWidget* tabs_;
    GeneralPane* general_;
    GridPane* grid_;
    LayoutsPane* layouts_;
    DataPane* data_;
};

}  // namespace tilewise
