#pragma once
// Every picture the program reads is opened here. Opening never blocks (a named pipe or a device
// in a picture's place would otherwise hang the program on open or read), and only a regular
// file, or a symbolic link to one, is read at all. Picture sizes are read from the header before
// anything is decoded, so a picture declaring more pixels than kMaxPicturePixels is refused
// before the work starts.
#include "core/ports/pictures.h"

#include <QByteArray>
#include <QImageReader>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

class QFile;

namespace lumora {

// Why `path` cannot be handed on as a picture file: empty when it is an absolute path naming a
// regular file (or a link to one); otherwise a short reason ("not an absolute path", ...). Looks
// at the file without opening it.
std::string picturePathProblem(const std::string& path);

// The file named by the bytes `name` opened for reading without blocking, when it is a regular
// file (or a link to one); nullptr otherwise, with the reason in `why` when given. The name is
// used as it is: a QString cannot hold bytes that are no UTF-8, so a path read from the settings
// never goes through one on its way to the file.
std::unique_ptr<QFile> openPictureFile(const QByteArray& name, std::string* why = nullptr);

// A QImageReader on a file opened by openPictureFile(). The format is told by the content, so a
// day copy's name need not match what it holds.
class PictureReader {
public:
    explicit PictureReader(const QByteArray& name);
    explicit PictureReader(const std::string& name)
        : PictureReader(QByteArray::fromStdString(name)) {}
    explicit PictureReader(const QString& path);
    ~PictureReader();
    PictureReader(const PictureReader&) = delete;
    PictureReader& operator=(const PictureReader&) = delete;

    // False when the file could not be opened; problem() tells why.
    bool isOpen() const { return m_file != nullptr; }
    const std::string& problem() const { return m_problem; }
    QImageReader& reader() { return m_reader; }
    // The open file's descriptor (-1 when not open), for facts about exactly what is read.
    int handle() const;
    // The declared size, read from the header (or, for a format that tells it only by decoding,
    // by decoding); invalid when the file is no picture or declares no pixels.
    QSize size();
    // Whether the declared size is within kMaxPicturePixels.
    static bool withinLimit(const QSize& size);

private:
    QByteArray m_name;     // the file's name as bytes
    std::string m_problem; // before m_file: the open writes it
    std::unique_ptr<QFile> m_file;
    QImageReader m_reader;
};

} // namespace lumora
