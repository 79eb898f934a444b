#include "ui/MessageBoxAlerts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "ui/MenuBarIcon.h"

namespace tilewise {

std::optional<std::size_t> MessageBoxAlerts::run(const Alert& alert) {
    QMessageBox box;
    box.setWindowTitle("Tilewise");
    box.setText(QString::fromStdString(alert.message));
    box.setInformativeText(QString::fromStdString(alert.informativeText));
    box.setIconPixmap(QPixmap::fromImage(MenuBarIcon::image(48, Qt::black, Qt::transparent)));
    std::vector<QAbstractButton*> buttons;
    for (const auto& title : alert.buttons) {
        // The first button is the default one, the others only dismiss.
        const auto role = buttons.empty() ? QMessageBox::AcceptRole : QMessageBox::RejectRole;
        buttons.push_back(box.addButton(QString::fromStdString(title), role));
    }
    if (buttons.empty()) {
        box.addButton(QMessageBox::Ok);
    } else {
        box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    }
    box.exec();
    const auto chosen = std::ranges::find(buttons, box.clickedButton());
    if (chosen == buttons.end()) {
        return buttons.empty() ? std::optional<std::size_t>{0} : std::nullopt;
    }
    return static_cast<std::size_t>(chosen - buttons.begin());
}

void MessageBoxAlerts::showAbout(const std::string& credits) {
    QMessageBox box;
    box.setWindowTitle("About Tilewise");
    box.setIconPixmap(QPixmap::fromImage(MenuBarIcon::image(64, Qt::black, Qt::transparent)));
    box.setText(QString{"<b>Tilewise</b><br>%1"}.arg(QApplication::applicationVersion()));
    box.setInformativeText(
        QString{"<small>%1</small>"}.arg(QString::fromStdString(credits).toHtmlEscaped()));
    box.exec();
}

}  // namespace tilewise
