#include "linux/platform/xdg_program_info.h"

#include "linux/platform/xdg_dirs.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace lumora {

std::string XdgProgramInfo::executablePath() const {
    QString path;
    if (QCoreApplication::instance()) {
        path = QCoreApplication::applicationFilePath();
    }
    if (path.isEmpty()) {
        path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    }
    return QFile::encodeName(path).toStdString();
}

std::string XdgProgramInfo::pictureFolderPath() {
    return QFile::encodeName(xdgDir(XdgDir::Data) + QStringLiteral("/lumora")).toStdString();
}

std::string XdgProgramInfo::pictureFolder() const {
    std::string folder = pictureFolderPath();
    if (!QDir().mkpath(QFile::decodeName(QByteArray::fromStdString(folder)))) {
        std::fprintf(stderr, "lumora: cannot create the picture folder %s\n", folder.c_str());
    }
    return folder;
}

} // namespace lumora
