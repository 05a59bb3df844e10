#include "linux/platform/thumbnail_cache.h"

#include "linux/platform/picture_file.h"
#include "linux/platform/xdg_dirs.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSaveFile>

#include <sys/stat.h>

namespace lumora {

namespace {

QString identityOf(const struct stat& st) {
    return QStringLiteral("%1:%2:%3:%4.%5")
        .arg(st.st_dev)
        .arg(st.st_ino)
        .arg(st.st_size)
        .arg(st.st_mtim.tv_sec)
        .arg(st.st_mtim.tv_nsec);
}

} // namespace

ThumbnailCache::ThumbnailCache(QString folder) : m_folder(std::move(folder)) {
    if (m_folder.isEmpty()) {
        m_folder = xdgDir(XdgDir::Cache) + QStringLiteral("/lumora/thumbnails");
    }
}

std::optional<Thumbnail> ThumbnailCache::decode(const QString& path, QSize size,
                                                QString* identity) {
    return decode(QFile::encodeName(path), size, identity);
}

std::optional<Thumbnail> ThumbnailCache::load(int weekdayNumber, const QString& path,
                                              QSize size) const {
    return load(weekdayNumber, QFile::encodeName(path), size);
}

std::optional<Thumbnail> ThumbnailCache::decode(const QByteArray& path, QSize size,
                                                QString* identity) {
    // Opened without blocking, regular files only: a pipe named as a picture never hangs.
    PictureReader picture(path);
    if (!picture.isOpen()) {
        return std::nullopt;
    }
    QImageReader& reader = picture.reader();
    QSize own = picture.size();
    if (own.isValid() && !PictureReader::withinLimit(own)) {
        return std::nullopt;
    }
    QImage image;
    if (own.isValid()) {
        // Decoded at thumbnail size: a large picture costs little memory and time.
        reader.setScaledSize(size);
        image = reader.read();
    } else {
        image = reader.read();
        own = image.size();
        if (!image.isNull()) {
            image = image.scaled(size);
        }
    }
    if (image.isNull()) {
        return std::nullopt;
    }
    struct stat st {};
    if (identity != nullptr && ::fstat(picture.handle(), &st) == 0) {
        *identity = identityOf(st);
    }
    return Thumbnail{image, own};
}

std::optional<Thumbnail> ThumbnailCache::load(int weekdayNumber, const QByteArray& path,
                                              QSize size) const {
    // The name as the kept thumbnail records it (a label only: the file's identity decides).
    const QString source = QFile::decodeName(path);
    const QString kept = QStringLiteral("%1/day%2.png").arg(m_folder).arg(weekdayNumber);
    struct stat st {};
    if (::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        QImage image(kept, "PNG");
        if (!image.isNull() && image.size() == size &&
            image.text(QStringLiteral("Source")) == source &&
            image.text(QStringLiteral("Identity")) == identityOf(st)) {
            return Thumbnail{image, QSize(image.text(QStringLiteral("Width")).toInt(),
                                          image.text(QStringLiteral("Height")).toInt())};
        }
    }
    QString identity;
    std::optional<Thumbnail> made = decode(path, size, &identity);
    if (!made || identity.isEmpty() || !QDir().mkpath(m_folder)) {
        return made;
    }
    QImage toKeep = made->image;
    toKeep.setText(QStringLiteral("Source"), source);
    toKeep.setText(QStringLiteral("Identity"), identity);
    toKeep.setText(QStringLiteral("Width"), QString::number(made->own.width()));
    toKeep.setText(QStringLiteral("Height"), QString::number(made->own.height()));
    QSaveFile file(kept);
    if (file.open(QIODevice::WriteOnly) && toKeep.save(&file, "PNG")) {
        file.commit();
    }
    return made;
}

} // namespace lumora
