#include "linux/ui/settings_window/qt_dialogs.h"

#include "core/settings/colorref.h"
#include "core/text/translation.h"
#include "linux/ui/text/translation.h"
#include "linux/ui/tray/qt_tray_host.h"

#include <QColor>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QWidget>

using namespace lumora;

QWidget* QtDialogs::owner() const {
    return m_parent != nullptr && m_parent->isVisible() ? m_parent : nullptr;
}

std::optional<std::uint32_t> QtDialogs::chooseColor(std::optional<std::uint32_t> initial) {
    QColor start = Qt::white;
    if (initial) {
        const Colorref c{*initial};
        start = QColor(c.red(), c.green(), c.blue());
    }
    QColor chosen = QColorDialog::getColor(start, owner());
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return Colorref::rgb(chosen.red(), chosen.green(), chosen.blue()).value;
}

QString QtDialogs::qtFilter(const std::string& filter) {
    QStringList parts = shownText(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString description = parts[i];
        qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren >= 0) {
            description = description.left(paren).trimmed();
        }
        out << QStringLiteral("%1 (%2)").arg(description, patterns.simplified());
    }
    return out.join(QStringLiteral(";;"));
}

std::optional<std::string> QtDialogs::openFile(const std::string& title,
                                               const std::string& initialPath,
                                               const std::string& filter) {
    QString chosen = QFileDialog::getOpenFileName(
        owner(), shownText(title), QString::fromStdString(initialPath), qtFilter(filter));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen.toStdString();
}

void QtDialogs::messageBox(const std::string& text, const std::string& title, MessageIcon icon) {
    QMessageBox::Icon kind = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::Information:
        kind = QMessageBox::Information;
        break;
    case MessageIcon::Warning:
        kind = QMessageBox::Warning;
        break;
    case MessageIcon::Critical:
        kind = QMessageBox::Critical;
        break;
    case MessageIcon::Question:
        kind = QMessageBox::Question;
        break;
    case MessageIcon::None:
        break;
    }
    QMessageBox box(kind, shownText(title.empty() ? "Lumora" : title),
                    QtTrayHost::displayText(text), QMessageBox::Ok, owner());
    box.exec();
}
