#pragma once
// Modal dialogs and message boxes through Qt Widgets.
#include "core/ports/dialogs.h"

#include <QString>

class QWidget;

class QtDialogs : public lumora::Dialogs {
public:
    // parent: the settings window, used as the dialogs' parent while it is shown.
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t> initial) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& initialPath,
                                        const std::string& filter) override;
    void messageBox(const std::string& text, const std::string& title,
                    lumora::MessageIcon icon) override;

    // "Description|patterns|Description|patterns" as Qt's ";;"-separated name filters.
    static QString qtFilter(const std::string& filter);

private:
    // The settings window while it is shown, so a dialog never opens underneath it.
    QWidget* owner() const;

    QWidget* m_parent;
};
