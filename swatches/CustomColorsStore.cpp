#include "swatches/CustomColorsStore.h"

#include <QFileInfo>
#include <QLockFile>

namespace swatches {

namespace {

// A save takes milliseconds; a lock held for seconds belongs to a copy
// that hangs or died, and is taken over.
constexpr int StaleLockMs = 4000;
constexpr int LockWaitMs = 5000;

QString LockFailure(QLockFile::LockError error)
{
    switch (error) {
    case QLockFile::LockFailedError:
        return QStringLiteral("another copy of Tinctara kept it locked for more than a few seconds");
    case QLockFile::PermissionError:
        return QStringLiteral("no lock file can be made beside it (permission denied)");
    default:
        return QStringLiteral("no lock file can be made beside it");
    }
}

} // namespace

CustomColorsPlace CustomColorsPlaceFor(const QString& programFolder)
{
    CustomColorsPlace place;
    place.file = CustomColorsFolder(programFolder) + QLatin1Char('/') + CustomColorsFileName;
    if (IsInstalledCopy(programFolder)) {
        const QString beside = programFolder + QLatin1Char('/') + CustomColorsFileName;
        if (QFileInfo(beside).absoluteFilePath() != QFileInfo(place.file).absoluteFilePath())
            place.earlier = beside;
    }
    return place;
}

FileRead ReadCustomColorsPlace(const CustomColorsPlace& place)
{
    FileRead read = ReadUserFile(place.file, CustomColorsReadLimit);
    if (read.result != FileRead::Result::Missing || place.earlier.isEmpty())
        return read;
    FileRead earlier = ReadUserFile(place.earlier, CustomColorsReadLimit);
    // Only its colours are wanted; it is never written, so one that cannot
    // be read is as good as none.
    if (earlier.result != FileRead::Result::Read)
        return read;
    earlier.target.clear();
    return earlier;
}

StoredColors UpdateCustomColorsFile(const CustomColorsPlace& place,
                                    const std::function<void(CustomColorArray&)>& change)
{
    StoredColors out;
    QLockFile lock(place.file + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs)) {
        out.error = LockFailure(lock.error());
        return out;
    }
    const FileRead read = ReadCustomColorsPlace(place);
    if (read.result == FileRead::Result::Failed) {
        out.error = read.reason + QStringLiteral(", so it is left as it is and no colour in it is lost");
        return out;
    }
    out.colors = ParseCustomColors(read.bytes);
    out.read = true;
    CustomColorArray changed = out.colors;
    change(changed);
    // Through a link of the user's own to its target, which stays a file.
    const QString target = read.target.isEmpty() ? place.file : read.target;
    out.error = WriteCustomColorsFile(target, changed);
    if (out.error.isEmpty())
        out.colors = changed;
    return out;
}

} // namespace swatches
