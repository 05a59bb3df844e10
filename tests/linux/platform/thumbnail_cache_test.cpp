// Thumbnails kept on disk: used while the picture is the same file, made afresh when it changed,
// one a day, and never a block on a pipe.
#include "linux/platform/thumbnail_cache.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lumora;

namespace {

TEST(ThumbnailCache, KeepsOnePerDayAndNeverShowsAChangedPicture) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/thumbs";
    const QString path = dir.path() + "/Monday.png";
    const QSize size(16, 12);
    const auto picture = [&](QColor colour, QSize own) {
        QImage image(own, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path, "PNG"));
    };
    ThumbnailCache cache(folder);
    picture(Qt::red, {64, 48});
    auto first = cache.load(2, path, size);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->own, QSize(64, 48));
    EXPECT_EQ(first->image.pixelColor(8, 6), QColor(Qt::red));
    EXPECT_TRUE(QFile::exists(folder + "/day2.png"));
    // The file replaced at the same path: decoded afresh.
    picture(Qt::blue, {80, 40});
    auto changed = cache.load(2, path, size);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->own, QSize(80, 40));
    EXPECT_EQ(changed->image.pixelColor(8, 6), QColor(Qt::blue));
    // Other days, the same day again: one file a day at most.
    for (int day : {1, 3, 2, 7}) {
        cache.load(day, path, size);
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 4);
}

TEST(ThumbnailCache, APipeOrAFolderIsNoPicture) {
    QTemporaryDir dir;
    const QString fifo = dir.path() + "/Tuesday.jpg";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ThumbnailCache cache(dir.path() + "/thumbs");
    EXPECT_FALSE(cache.load(3, fifo, {16, 12}));
    EXPECT_FALSE(cache.load(3, dir.path(), {16, 12}));
    EXPECT_FALSE(cache.load(3, dir.path() + "/missing.png", {16, 12}));
}

} // namespace
