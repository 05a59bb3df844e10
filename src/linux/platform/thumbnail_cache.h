#pragma once
// Thumbnails of the day pictures, decoded at thumbnail size and kept on disk, one a day, under
// $XDG_CACHE_HOME/lumora/thumbnails/. A kept thumbnail is used only while the picture file is the
// one it was made from (same device, inode, size and modification time), so a changed picture is
// always decoded afresh; the folder never holds more than the seven days.
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace lumora {

struct Thumbnail {
    QImage image; // at the thumbnail size, stretched
    QSize own;    // the picture's own pixel size
};

class ThumbnailCache {
public:
    // `folder` empty: $XDG_CACHE_HOME/lumora/thumbnails (~/.cache/lumora/thumbnails).
    explicit ThumbnailCache(QString folder = {});

    // Day w's thumbnail of `path` at `size`: the kept one when it is still good, else decoded
    // (and kept). Nothing when the file is no picture the program reads. Safe to call for
    // different days from different threads at once.
    // `path` as the bytes of the file's name (any bytes), or as a QString.
    std::optional<Thumbnail> load(int weekdayNumber, const QByteArray& path, QSize size) const;
    std::optional<Thumbnail> load(int weekdayNumber, const QString& path, QSize size) const;

    // Decodes `path` at `size` without the cache.
    static std::optional<Thumbnail> decode(const QByteArray& path, QSize size,
                                           QString* identity = nullptr);
    static std::optional<Thumbnail> decode(const QString& path, QSize size,
                                           QString* identity = nullptr);

private:
    QString m_folder;
};

} // namespace lumora
