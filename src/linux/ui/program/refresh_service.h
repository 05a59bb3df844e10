#pragma once
// `lumora --refresh` on the session bus: the running program offers Refresh (what its menu's
// "&Refresh Wallpaper" does) as org.lumora.Lumora at /org/lumora/Lumora; the other side asks it.
#include <QObject>
#include <QString>

class Program;

inline constexpr const char* kRefreshServiceName = "org.lumora.Lumora";
inline constexpr const char* kRefreshObjectPath = "/org/lumora/Lumora";

class RefreshService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.lumora.Lumora")
public:
    explicit RefreshService(Program& program, QObject* parent = nullptr);
    ~RefreshService() override;

    // Registers the object and takes the name; false (said once on stderr) when it cannot.
    bool publish();

public slots:
    // Sets today's wallpaper; true when the desktop took it, otherwise the reason.
    Q_SCRIPTABLE bool Refresh(QString& reason);

private:
    Program& m_program;
    bool m_published = false;
};

// What asking the running program gave.
struct RefreshReply {
    enum class Status { NotRunning, Done, Failed };
    Status status = Status::NotRunning;
    QString reason; // for Failed
};
// Asks the running program, if one is on the session bus, to set today's wallpaper.
RefreshReply askRunningProgramToRefresh();
