#pragma once

#include <QLineEdit>
#include <QLocale>
#include <functional>
#include <optional>

namespace tilewise {

/// An untitled field for a distance in points: shows and parses a number in the user's locale
/// with 0 or 1 fraction digits. Every edit that parses is written at once, unclamped; text
/// that is not a number is not written, and the field shows the last valid value again when
/// editing ends.
class PointsField : public QLineEdit {
    Q_OBJECT

  public:
    explicit PointsField(QWidget* parent = nullptr);

    /// Called with every parsed value the user types.
    std::function<void(double)> onEdit;
    /// Shows `value`, unless the field's text already means it.
    void display(double value);

    /// `value` with 0 or 1 fraction digits in `locale`.
    static QString format(double value, const QLocale& locale);
    /// The number `text` holds in `locale`, rounded to one fraction digit; absent otherwise.
    static std::optional<double> parse(const QString& text, const QLocale& locale);

  private:
    double value_ = 0;
};

}  // namespace tilewise
