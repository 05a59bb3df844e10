#pragma once
// FrmMain: the program's main window object. It owns the state for the life of the process, the
// tray icon and its menu, and wires the core routines to the platform services. Hidden while the
// program sits in the notification area; shown as the settings window on request.
#include "core/engine/wallpaper_engine.h"
#include "core/settings/frm_main_state.h"
#include "core/settings/options.h"
#include "core/settings/registry.h"
#include "core/tray/frm_main_logic.h"
#include "core/tray/tray_alerts.h"
#include "core/tray/tray_menu.h"
#include "core/tray/tray_module.h"
#include "core/tray/wallpaper_engine_routines.h"
#include "core/ports/file_sync.h"
#include "core/ports/main_window.h"
#include "core/ports/option_store.h"
#include "core/ports/registry_backend.h"

#include <QString>
#include <QWidget>

#include <map>
#include <memory>

class QtTrayHost;
class QtTrayMenu;

// The platform services FrmMain works with, built by main().
struct FrmMainPlatform {
    lumora::RegistryBackend& registry;
    lumora::OptionStore& options;
    lumora::DesktopBackend& desktop;
    lumora::EventPump& events;
    lumora::ProgramInfo& program;
    lumora::Resources& resources;
    lumora::Dialogs& dialogs;
    lumora::InstanceGuard& instance;
    lumora::Autostart& autostart;
    lumora::Clock& clock;
    // Makes day copies durable before they replace the old ones; none in tests.
    lumora::FileSync* fileSync = nullptr;
};

class FrmMain : public QWidget, public lumora::MainWindow {
    Q_OBJECT
public:
    FrmMain(FrmMainPlatform platform, lumora::AboutWindow& about, lumora::HelpWindow& help,
            QWidget* parent = nullptr);
    ~FrmMain() override;

    // Start-up; false when another instance runs (the box was shown and closed).
    bool Form_Load();
    // The about window closed after being opened from the visible settings window.
    void aboutClosed();

    lumora::FrmMainLogic& logic() { return m_logic; }
    lumora::FrmMainState& state() { return m_state; }
    const lumora::TrayMenu& menuTree() const { return m_menu; }
    QtTrayMenu& trayMenu() { return *m_trayMenu; }
    QtTrayHost& trayHost() { return *m_trayHost; }
    bool unloaded() const { return m_logic.unloaded(); }
    QString label1Caption(int index) const;
    // Whether a window of the program other than FrmMain is open (the process waits for it).
    bool otherWindowOpen() const;

    // MainWindow
    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    bool isShown() const override;
    void showWindow() override;
    void hideWindow() override;
    void setTopMost() override;
    void popupMenu() override;
    void setMenuChecked(lumora::MenuId id, bool checked) override;
    void destroyWindow() override;
    void AffDays() override;
    void setLabel1Caption(int index, const std::string& caption) override;
    void Lab18ToolTip(float mode) override;
    void AffModif() override;
    void setStyleLabel(int weekdayNumber, const std::string& caption,
                       const std::string& toolTip) override;
    void AffMessage(bool enabled) override;
    void AffPics() override;
    void ModifBold() override;
    void resetInfoPanel() override;
    void dropThumbnails() override;
    void mnuday_Click(int index) override;

signals:
    // Form_Unload ran: the icon is gone and the window will not come back.
    void unloadedForGood();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void quitWhenNoWindowIsLeft();

    lumora::FrmMainState m_state;
    lumora::TrayMenu m_menu;
    lumora::Registry m_registry;
    lumora::Options m_options;
    std::unique_ptr<QtTrayHost> m_trayHost;
    lumora::TrayModule m_tray;
    lumora::TrayAlerts m_alerts;
    lumora::WallpaperEngine m_engine;
    lumora::WallpaperEngineRoutines m_engineRoutines;
    lumora::FrmMainLogic m_logic;
    std::unique_ptr<QtTrayMenu> m_trayMenu;
    std::map<int, QString> m_label1;
    std::map<int, std::pair<QString, QString>> m_label3;
    QString m_label8ToolTip;
    bool m_closingFromCode = false;
};
