#pragma once
// FrmMain's routines over recording fakes, a real in-memory registry and option store.
#include "core/settings/memory_registry.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "core/tray/frm_main_logic.h"
#include "core/tray/tray_menu.h"
#include "core/tray/tray_module.h"
#include "tray_fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumora::trayfakes {

struct FrmMainRig {
    CallLog log;
    MemoryRegistry store;
    Registry registry{store};
    Options options{store};
    FrmMainState state;
    TrayMenu menu;
    FakeTrayHost host{log};
    TrayModule tray{host};
    FakeEngine engine{log};
    FakeDesktop desktop{log};
    FakeInstance instance{log};
    FakeDialogs dialogs{log};
    FakeAutostart autostart{log};
    FakeProgram program;
    FakeClock clock{log};
    FakeWindow window{log};
    FakeAbout about{log};
    FakeHelp help{log};
    FrmMainLogic logic{FrmMainServices{state, menu, tray, options, registry, engine, desktop,
                                       instance, dialogs, autostart, program, clock, window, about,
                                       help}};

    void option(const std::string& key, const std::string& text) {
        store.writeOption(kAppName, kSection, key, text);
    }
    std::optional<std::string> stored(const std::string& key) {
        return store.readOption(kAppName, kSection, key);
    }
    void dayPicture(int w, const std::string& path) {
        registry.CreateRegKey(kLocalSettingsKey, HKEY_CURRENT_USER);
        registry.SetRegValue(HKEY_CURRENT_USER, kLocalSettingsKey, kDayNames[w - 1], path, REG_SZ);
    }
    // The log entries that start with `prefix`.
    std::vector<std::string> only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& e : log) {
            if (e.rfind(prefix, 0) == 0) {
                out.push_back(e);
            }
        }
        return out;
    }
    // Started, with the log emptied afterwards.
    void started() {
        ASSERT_TRUE(logic.Form_Load());
        log.clear();
    }
};

} // namespace lumora::trayfakes
