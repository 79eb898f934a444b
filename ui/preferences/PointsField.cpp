#include "ui/preferences/PointsField.h"

#include <cmath>

namespace tilewise {

PointsField::PointsField(QWidget* parent) : QLineEdit(parent) {
    setFixedWidth(60);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        const auto parsed = parse(text, locale());
        if (!parsed)
            return;
        value_ = *parsed;
        if (onEdit)
            onEdit(*parsed);
    });
    connect(this, &QLineEdit::editingFinished, this, [this] { setText(format(value_, locale())); });
}

void PointsField::display(double value) {
    value_ = value;
    // Text that already means this value stays as typed ("7." on the way to "7.5").
    if (parse(text(), locale()) != value)
        setText(format(value, locale()));
}

QString PointsField::format(double value, const QLocale& locale) {
    const auto tenths = std::round(value * 10);
    const bool whole = std::fmod(tenths, 10) == 0;
    return locale.toString(tenths / 10, 'f', whole ? 0 : 1);
}

std::optional<double> PointsField::parse(const QString& text, const QLocale& locale) {
    bool ok = false;
    const auto value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return std::round(value * 10) / 10;
}

}  // namespace tilewise
