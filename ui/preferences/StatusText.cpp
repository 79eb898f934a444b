#include "ui/preferences/StatusText.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QStyle>

#include "ui/preferences/PaneWidgets.h"

namespace tilewise {

StatusText::StatusText(QWidget* parent) : QWidget(parent) {
    icon_ = new QLabel(this);
    const auto size = fontMetrics().height();
    icon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size));
    text_ = PaneWidgets::caption("statusText", {}, PaneWidgets::TextStyle::warning, this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(icon_);
    layout->addWidget(text_, 1);
    setStatus(std::nullopt);
}

void StatusText::setStatus(const std::optional<HotKeyService::Status>& status) {
    const auto description = status ? status->userDescription() : std::nullopt;
    text_->setText(description ? QString::fromStdString(*description) : QString{});
    setVisible(description.has_value());
}

QString StatusText::text() const {
    return isHidden() ? QString{} : text_->text();
}

}  // namespace tilewise
