#pragma once

#include <QSpinBox>
#include <functional>

namespace tilewise {

/// A stepper over 1…30 whose value is changed only by its arrows (or the arrow keys), never by
/// typing; its text is the prefix, the value and the suffix ("Columns: 6", "6 columns").
class Stepper : public QSpinBox {
    Q_OBJECT

  public:
    Stepper(const QString& prefix, const QString& suffix, QWidget* parent = nullptr);

    /// Called with each value the user steps to.
    std::function<void(int)> onStep;
    /// Shows `value` without calling `onStep`.
    void display(int value);
};

}  // namespace tilewise
