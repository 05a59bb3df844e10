#include "core/menu/tray_menu.h"

#include "core/text/translation.h"

#include <cctype>

namespace lumora {

namespace {
MenuItem item(MenuId id, const char* name, const char* caption) {
    MenuItem m;
    m.id = id;
    m.name = name;
    m.caption = caption;
    return m;
}
} // namespace

TrayMenu::TrayMenu() {
    m_items.push_back(
        item(MenuId::mnurefresh, "mnurefresh", LUMORA_TR("Lumora", "&Refresh Wallpaper")));
    m_items.push_back(item(MenuId::mnuexit, "mnuexit", LUMORA_TR("Lumora", "E&xit")));
    m_items.push_back(item(MenuId::sep1, "sep1", "-"));
    static const char* const dayCaptions[7] = {
        LUMORA_TR("Lumora", "&Sunday..."),   LUMORA_TR("Lumora", "&Monday..."),
        LUMORA_TR("Lumora", "&Tuesday..."),  LUMORA_TR("Lumora", "&Wednesday"),
        LUMORA_TR("Lumora", "T&hursday..."), LUMORA_TR("Lumora", "&Friday..."),
        LUMORA_TR("Lumora", "S&aturday...")};
    for (int i = 1; i <= 7; ++i) {
        MenuItem day = item(MenuId::mnuday, "mnuday", dayCaptions[i - 1]);
        day.index = i;
        m_items.push_back(day);
    }
    m_items.push_back(item(MenuId::sep2, "sep2", "-"));
    MenuItem autoRun = item(MenuId::mnuAutoRun, "mnuAutoRun",
                            LUMORA_TR("Lumora", "Autom&atically Run at Startup"));
    autoRun.checkable = true;
    m_items.push_back(autoRun);
    MenuItem alert =
        item(MenuId::mnuAlert, "mnuAlert", LUMORA_TR("Lumora", "Display Alert Messages"));
    alert.checkable = true;
    alert.checked = true;
    m_items.push_back(alert);
    MenuItem logo =
        item(MenuId::MainAbout, "MainAbout", LUMORA_TR("Lumora", "Show Logo at startup"));
    logo.checkable = true;
    logo.checked = true;
    m_items.push_back(logo);
    m_items.push_back(item(MenuId::DeskCol, "DeskCol", LUMORA_TR("Lumora", "Set Desktop &Color")));
    m_items.push_back(item(MenuId::sep22, "sep22", "-"));
    MenuItem settings = item(MenuId::mnuabout, "mnuabout", LUMORA_TR("Lumora", "&Lumora Settings"));
    settings.isDefault = true;
    m_items.push_back(settings);
    MenuItem help = item(MenuId::mnuHelp, "mnuHelp", LUMORA_TR("Lumora", "&Help"));
    help.shortcut = "F1";
    m_items.push_back(help);
    m_items.push_back(item(MenuId::MnAbout, "MnAbout", LUMORA_TR("Lumora", "About...")));
}

const MenuItem* TrayMenu::find(MenuId id, int index) const {
    for (const MenuItem& m : m_items) {
        if (m.id == id && m.index == index) {
            return &m;
        }
    }
    return nullptr;
}

bool TrayMenu::checked(MenuId id) const {
    const MenuItem* m = find(id);
    return m != nullptr && m->checked;
}

void TrayMenu::setChecked(MenuId id, bool checked) {
    for (MenuItem& m : m_items) {
        if (m.id == id) {
            m.checked = checked;
        }
    }
}

char TrayMenu::accessKey(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (caption[i + 1] == '&') {
                ++i;
                continue;
            }
            return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
        }
    }
    return 0;
}

} // namespace lumora
