#include "linux/platform/xdg_dirs.h"

#include <QDir>
#include <QFileInfo>

namespace lumora {

QString xdgDir(XdgDir which) {
    struct Rule {
        const char* variable;
        const char* fallback; // under $HOME; empty: the temporary folder
    };
    static constexpr Rule kRules[] = {{"XDG_CONFIG_HOME", ".config"},
                                      {"XDG_DATA_HOME", ".local/share"},
                                      {"XDG_CACHE_HOME", ".cache"},
                                      {"XDG_RUNTIME_DIR", ""}};
    const Rule& rule = kRules[static_cast<int>(which)];
    const QString value = qEnvironmentVariable(rule.variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value) &&
        (which != XdgDir::Runtime || QFileInfo(value).isDir())) {
        return QDir::cleanPath(value);
    }
    if (rule.fallback[0] == '\0') {
        return QDir::cleanPath(QDir::tempPath());
    }
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + QLatin1String(rule.fallback));
}

} // namespace lumora
