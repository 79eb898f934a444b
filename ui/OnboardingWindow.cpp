#include "ui/OnboardingWindow.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace tilewise {
namespace {

constexpr int kWidth = 460;
constexpr int kSpacing = 14;
constexpr int kPadding = 24;

QLabel* wrappingLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel{text, parent};
    label->setWordWrap(true);
    label->setAccessibleName(text);
    return label;
}

// "**word**" → bold, line breaks kept: the steps are written as lightly styled text.
QString styledSteps(const std::string& steps) {
    QString html = QString::fromStdString(steps).toHtmlEscaped();
    html.replace(QRegularExpression{R"(\*\*(.+?)\*\*)"}, "<b>\\1</b>");
    return html.replace('\n', "<br>");
}

}  // namespace

OnboardingWindow::OnboardingWindow(const OnboardingTexts& texts,
                                   std::function<void()> onOpenSettings)
    : texts_(texts) {
    setWindowTitle(QString::fromStdString(texts.windowTitle));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedWidth(kWidth);

    auto* layout = new QVBoxLayout{this};
    layout->setSpacing(kSpacing);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    auto* heading = wrappingLabel(QString::fromStdString(texts.heading), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    heading->setFont(headingFont);
    layout->addWidget(heading);
    layout->addWidget(wrappingLabel(QString::fromStdString(texts.explanation), this));
    auto* steps = wrappingLabel(styledSteps(texts.steps), this);
    steps->setTextFormat(Qt::RichText);
    layout->addWidget(steps);
    auto* hint = wrappingLabel(QString::fromStdString(texts.hint), this);
    hint->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(hint);

    auto* row = new QHBoxLayout;
    statusIcon_ = new QLabel{this};
    row->addWidget(statusIcon_);
    status_ = new QLabel{this};
    row->addWidget(status_);
    row->addStretch();
    button_ = new QPushButton{QString::fromStdString(texts.button), this};
    button_->setDefault(true);
    button_->setAutoDefault(true);
    QObject::connect(button_, &QPushButton::clicked, this, std::move(onOpenSettings));
    row->addWidget(button_);
    layout->addLayout(row);
    setTrusted(false);
}

void OnboardingWindow::present() {
    if (!QWidget::isVisible()) {
        adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    QWidget::show();
    raise();
    activateWindow();
    button_->setFocus();
}

void OnboardingWindow::setTrusted(bool trusted) {
    const auto& text = trusted ? texts_.granted : texts_.waiting;
    const auto icon = trusted ? QStyle::SP_DialogApplyButton : QStyle::SP_BrowserReload;
    const int size = status_->fontMetrics().height();
    statusIcon_->setPixmap(style()->standardIcon(icon).pixmap(size, size));
    status_->setText(QString::fromStdString(text));
    status_->setAccessibleName(QString::fromStdString(text));
    status_->setStyleSheet(trusted ? "color: #1a7f37;" : "");
    status_->setForegroundRole(trusted ? QPalette::WindowText : QPalette::PlaceholderText);
}

}  // namespace tilewise
