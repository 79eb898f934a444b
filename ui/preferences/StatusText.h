#pragma once

#include <QWidget>
#include <optional>

#include "app/HotKeyService.h"

class QLabel;

namespace tilewise {

/// The one-line warning under a shortcut: the status's sentence with a warning sign in orange,
/// or nothing when the status is absent or has no sentence (registered).
class StatusText : public QWidget {
    Q_OBJECT

  public:
    explicit StatusText(QWidget* parent = nullptr);

    void setStatus(const std::optional<HotKeyService::Status>& status);
    /// The sentence shown; empty while hidden.
    QString text() const;

  private:
    QLabel* icon_;
    QLabel* text_;
};

}  // namespace tilewise
