#include "linux/platform/autostart_entry.h"

#include "linux/platform/xdg_dirs.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <cstdlib>

namespace lumora {

namespace {
std::string defaultConfigHome() {
    return QFile::encodeName(xdgDir(XdgDir::Config)).toStdString();
}

// Characters that make an Exec argument need quoting.
bool reserved(char c) {
    static const std::string chars = " \t\n\"'\\><~|&;$*?#()`";
    return chars.find(c) != std::string::npos;
}
} // namespace

AutostartEntry::AutostartEntry(std::optional<std::string> configHome)
    : m_file(configHome.value_or(defaultConfigHome()) + "/autostart/lumora.desktop") {}

std::optional<std::string> AutostartEntry::execValue(const std::string& programPath) {
    // The Exec layer: quote an argument with reserved characters; inside the quotes `"`, `` ` ``,
    // `$` and `\` take a backslash. "%" is a field code, so a literal one is doubled.
    bool quote = programPath.empty();
    for (char c : programPath) {
        if (reserved(c)) {
            quote = true;
        }
    }
    std::string arg;
    if (quote) {
        arg += '"';
    }
    for (char c : programPath) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            arg += '\\';
        }
        arg += c;
        if (c == '%') {
            arg += '%';
        }
    }
    if (quote) {
        arg += '"';
    }
    // The string-value layer: backslash and the control characters an entry can carry.
    std::string value;
    for (char c : arg) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\r':
            value += "\\r";
            break;
        case '\t':
            value += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                return std::nullopt;
            }
            value += c;
        }
    }
    return value;
}

std::optional<std::string> AutostartEntry::entryText(const std::string& programPath, bool enabled) {
    auto exec = execValue(programPath);
    if (!exec) {
        return std::nullopt;
    }
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Lumora\n"
                       "Exec=" +
                       *exec +
                       "\n"
                       "Terminal=false\n";
    if (!enabled) {
        text += "Hidden=true\n";
    }
    return text;
}

bool AutostartEntry::write(const std::string& programPath, bool enabled) {
    auto text = entryText(programPath, enabled);
    if (!text) {
        return false;
    }
    QString file = QString::fromStdString(m_file);
    QByteArray bytes = QByteArray::fromStdString(*text);
    // Every start asks for the entry; one that already reads so is left as it is (no write and
    // no flush to disk at every log-in).
    if (QFile same(file); QFileInfo(file).isFile() && same.open(QIODevice::ReadOnly) &&
                          same.size() == bytes.size() && same.readAll() == bytes) {
        return true;
    }
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

bool AutostartEntry::isEnabled() const {
    QFile in(QString::fromStdString(m_file));
    if (!in.open(QIODevice::ReadOnly)) {
        return false;
    }
    bool inMainGroup = false;
    bool hidden = false;
    bool sawMainGroup = false;
    const QList<QByteArray> lines = in.readAll().split('\n');
    for (const QByteArray& raw : lines) {
        QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            sawMainGroup = sawMainGroup || inMainGroup;
            continue;
        }
        if (!inMainGroup) {
            continue;
        }
        qsizetype eq = line.indexOf('=');
        if (eq < 0) {
            continue;
        }
        if (line.left(eq).trimmed() == "Hidden") {
            hidden = line.mid(eq + 1).trimmed() == "true";
        }
    }
    return sawMainGroup && !hidden;
}

} // namespace lumora
