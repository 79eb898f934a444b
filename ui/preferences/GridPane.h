#pragma once

#include <QWidget>
#include <array>

#include "app/Publisher.h"

class QCheckBox;
class QLabel;

namespace tilewise {

class PointsField;
class SettingsStore;
class Stepper;

/// The Grid tab: the default grid size and the margins. Margin fields take any number; the
/// red sentence, not the field, reports one outside 0…500.
class GridPane : public QWidget {
    Q_OBJECT

  public:
    explicit GridPane(SettingsStore& store, QWidget* parent = nullptr);

  private:
    QWidget* buildGridSection();
    QWidget* buildMarginsSection();
    void refresh();

    SettingsStore& store_;
    Stepper* columns_ = nullptr;
    Stepper* rows_ = nullptr;
    QCheckBox* useMargins_ = nullptr;
    QWidget* marginFields_ = nullptr;
    std::array<PointsField*, 6> fields_{};
    QLabel* rangeError_ = nullptr;
    Subscription settingsSubscription_;
};

}  // namespace tilewise
