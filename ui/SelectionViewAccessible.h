#pragma once

#include <QAccessibleWidget>

namespace tilewise {

class SelectionView;

/// What assistive technology is told of the resize preview: a group where the rectangle shows,
/// and nothing while it shows nowhere. The view itself spans the whole overlay, which is not
/// where the preview is.
class SelectionViewAccessible final : public QAccessibleWidget {
  public:
    explicit SelectionViewAccessible(SelectionView& view);

    /// Gives each SelectionView this interface; installed once, by the first view made.
    static void install();

    QRect rect() const override;
    QAccessible::State state() const override;

  private:
    const SelectionView& view() const;
};

}  // namespace tilewise
