#include "linux/platform/qt_resources.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace lumora {

std::string QtResources::resourcePath(const std::string& name) {
    struct Entry {
        const char* name;
        const char* path;
    };
    static constexpr Entry kEntries[] = {
        {"default_bmp", ":/lumora/default.bmp"},
        {"nopicture_bmp", ":/lumora/nopicture.bmp"},
        {"logo_bmp", ":/lumora/logo.bmp"},
        {"icon_png", ":/lumora/icons/lumora-32.png"},
    };
    for (const auto& entry : kEntries) {
        if (name == entry.name) {
            return entry.path;
        }
    }
    return {};
}

std::vector<std::uint8_t> QtResources::bytes(const std::string& name) const {
    std::string path = resourcePath(name);
    if (path.empty()) {
        return {};
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray data = file.readAll();
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

} // namespace lumora
