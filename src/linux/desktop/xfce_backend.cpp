#include "linux/desktop/xfce_backend.h"

#include "linux/desktop/desktop_mapping.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>

#include <xcb/xcb.h>

#include <cstdlib>
#include <regex>
#include <utility>

namespace lumora {

namespace {

const QString kService = QStringLiteral("org.xfce.Xfconf");
const QString kPath = QStringLiteral("/org/xfce/Xfconf");
const QString kInterface = QStringLiteral("org.xfce.Xfconf");
const QString kChannel = QStringLiteral("xfce4-desktop");
constexpr int kTimeoutMs = 5000;

QDBusMessage call(const QString& method, const QVariantList& args) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    message.setArguments(args);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, kTimeoutMs);
}

std::vector<std::string> screenNames() {
    std::vector<std::string> names;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        for (const QScreen* screen : QGuiApplication::screens()) {
            if (!screen->name().isEmpty()) {
                names.push_back(screen->name().toStdString());
            }
        }
    }
    return names;
}

// _NET_NUMBER_OF_DESKTOPS of the root window; 1 without a window manager that sets it.
int workspaceCount() {
    int count = 1;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) == 0) {
        const char atomName[] = "_NET_NUMBER_OF_DESKTOPS";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 1, sizeof atomName - 1, atomName), nullptr);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (atom != nullptr && atom->atom != XCB_ATOM_NONE && screen != nullptr) {
            xcb_get_property_reply_t* reply = xcb_get_property_reply(
                connection,
                xcb_get_property(connection, 0, screen->root, atom->atom, XCB_ATOM_CARDINAL, 0, 1),
                nullptr);
            if (reply != nullptr && reply->format == 32 &&
                xcb_get_property_value_length(reply) >= 4) {
                const auto value =
                    *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
                if (value >= 1 && value <= 64) {
                    count = static_cast<int>(value);
                }
            }
            free(reply);
        }
        free(atom);
    }
    xcb_disconnect(connection);
    return count;
}

} // namespace

XfceBackend::XfceBackend(std::vector<std::string> monitorNames, int workspaces)
    : m_monitorNames(std::move(monitorNames)), m_workspaces(workspaces) {}

std::set<std::string> XfceBackend::backdropGroups(const std::vector<std::string>& propertyNames,
                                                  const std::vector<std::string>& monitorNames,
                                                  int workspaces) {
    static const std::regex group(R"(^(/backdrop/screen[0-9]+/monitor[^/]+/workspace[0-9]+)/)");
    std::set<std::string> groups;
    for (const std::string& property : propertyNames) {
        std::smatch match;
        if (std::regex_search(property, match, group)) {
            groups.insert(match[1].str());
        }
    }
    for (const std::string& monitor : monitorNames) {
        if (monitor.empty() || monitor.find('/') != std::string::npos) {
            continue;
        }
        for (int w = 0; w < workspaces; ++w) {
            groups.insert("/backdrop/screen0/monitor" + monitor + "/workspace" + std::to_string(w));
        }
    }
    return groups;
}

std::set<std::string> XfceBackend::groups() const {
    std::vector<std::string> properties;
    const QDBusMessage reply =
        call(QStringLiteral("GetAllProperties"), {kChannel, QStringLiteral("/backdrop")});
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        // a{sv}: read the keys only.
        const auto argument = reply.arguments().first().value<QDBusArgument>();
        argument.beginMap();
        while (!argument.atEnd()) {
            QString key;
            QDBusVariant value;
            argument.beginMapEntry();
            argument >> key >> value;
            argument.endMapEntry();
            properties.push_back(key.toStdString());
        }
        argument.endMap();
    }
    // A channel that does not exist yet answers with an error: every group is then new.
    std::vector<std::string> monitors = m_monitorNames.empty() ? screenNames() : m_monitorNames;
    const int workspaces = m_workspaces >= 1 ? m_workspaces : workspaceCount();
    return backdropGroups(properties, monitors, workspaces);
}

std::string XfceBackend::getString(const std::string& property) const {
    const QDBusMessage reply =
        call(QStringLiteral("GetProperty"), {kChannel, QString::fromStdString(property)});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return {};
    }
    const QVariant value = reply.arguments().first().value<QDBusVariant>().variant();
    return value.typeId() == QMetaType::QString ? value.toString().toStdString() : std::string();
}

bool XfceBackend::setProperty(const std::string& property, const QVariant& value) {
    const QDBusMessage reply =
        call(QStringLiteral("SetProperty"), {kChannel, QString::fromStdString(property),
                                             QVariant::fromValue(QDBusVariant(value))});
    if (reply.type() != QDBusMessage::ReplyMessage) {
        if (m_problem.empty()) {
            m_problem = "xfconf " + property + ": " + reply.errorMessage().toStdString();
        }
        return false;
    }
    return true;
}

DesktopResult XfceBackend::finish() {
    const std::string problem = std::exchange(m_problem, {});
    return problem.empty() ? DesktopResult::success() : m_log.fail(problem);
}

DesktopResult XfceBackend::setWallpaper(const std::string& path, int style) {
    if (DesktopResult refused = m_log.checkPicturePathAsText(path); !refused) {
        return refused;
    }
    const std::optional<int> imageStyle =
        path.empty() ? std::optional<int>(XFCE_IMAGE_STYLE_NONE) : xfceImageStyle(style);
    const std::set<std::string> all = groups();
    if (all.empty()) {
        return m_log.fail("xfconf has no backdrop and no monitor is known");
    }
    m_problem.clear();
    for (const std::string& group : all) {
        if (imageStyle) {
            setProperty(group + "/image-style", *imageStyle);
        }
        if (path.empty()) {
            continue;
        }
        const std::string lastImage = group + "/last-image";
        const QString file = QString::fromStdString(path);
        // xfdesktop keeps the picture it loaded while the name stays the same: clearing the name
        // first makes it read a file changed at the same path again.
        if (getString(lastImage) == path) {
            setProperty(lastImage, QString());
        }
        setProperty(lastImage, file);
    }
    return finish();
}

DesktopResult XfceBackend::setBackgroundColor(std::uint32_t rgb) {
    const std::array<double, 4> rgba = xfceRgba(rgb);
    const QVariantList color{rgba[0], rgba[1], rgba[2], rgba[3]};
    const std::set<std::string> all = groups();
    if (all.empty()) {
        return m_log.fail("xfconf has no backdrop and no monitor is known");
    }
    m_problem.clear();
    for (const std::string& group : all) {
        setProperty(group + "/color-style", 0);
        setProperty(group + "/rgba1", color);
    }
    return finish();
}

} // namespace lumora
