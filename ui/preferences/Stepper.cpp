#include "ui/preferences/Stepper.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "core/Grid.h"

namespace tilewise {

Stepper::Stepper(const QString& prefix, const QString& suffix, QWidget* parent) : QSpinBox(parent) {
    setRange(GridSize::minimum, GridSize::maximum);
    setSingleStep(1);
    setPrefix(prefix);
    setSuffix(suffix);
    lineEdit()->setReadOnly(true);
    connect(this, &QSpinBox::valueChanged, this, [this](int value) {
        if (onStep)
            onStep(value);
    });
}

void Stepper::display(int value) {
    const QSignalBlocker blocker(this);
    setValue(value);
}

}  // namespace tilewise
