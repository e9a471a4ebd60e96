#pragma once
#include <QByteArray>
#include <QString>

namespace swatches {

// What reading a file of the user's gave.
struct FileRead {
    enum class Result { Read, Missing, Failed };
    Result result = Result::Missing;
    // What could be read; after a failure part way, the bytes before it.
    QByteArray bytes;
    // Why the file could not be read, in plain words; empty otherwise.
    QString reason;
    // The file that was read: the path itself, or the target of a link.
    QString target;
};

// Reads at most `limit` bytes of a regular file. A symbolic link is
// followed only when both the link and its target belong to the user
// running the program, so a link planted by someone else is never read or
// written through. Anything that is not a regular file (a FIFO, a device, a
// folder) is not opened, so the read never blocks.
FileRead ReadUserFile(const QString& path, qsizetype limit);

// Reads at most `limit` bytes of a regular file, through any link: for
// files that are only read. Anything else is not opened.
FileRead ReadRegularFile(const QString& path, qsizetype limit);

// Replaces the file whole, or leaves it as it was: every write error, the
// one of the last flush to the disk included, is caught before the new
// file takes the old one's place. Empty on success, else the reason.
QString WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Removes the temporary copies that interrupted saves left beside the file
// (its name, a dot and six letters or digits), where they are ours.
void RemoveLeftoverSaves(const QString& path);

} // namespace swatches
