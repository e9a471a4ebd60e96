#pragma once
#include <functional>

#include <QString>

#include "swatches/CustomColors.h"
#include "swatches/FileAccess.h"

namespace swatches {

// Where a copy of the program keeps its custom colours.
struct CustomColorsPlace {
    // The file that is read and written.
    QString file;
    // An earlier version's file beside an installed copy, read while `file`
    // does not exist yet and never written or removed; empty if none.
    QString earlier;
};

CustomColorsPlace CustomColorsPlaceFor(const QString& programFolder);

// Reads the colours file of a place, or the earlier file while it is missing.
FileRead ReadCustomColorsPlace(const CustomColorsPlace& place);

// The outcome of a change to the file.
struct StoredColors {
    // Empty when the change was written, else why not, in plain words.
    QString error;
    // Whether `colors` holds the file's cells: after the change when it was
    // written, as read when only the write failed.
    bool read = false;
    CustomColorArray colors{};
};

// Changes the file under a lock beside it: reads it again, applies
// `change`, writes the result back whole. So two copies of the program that
// each change their own cells never undo each other's. A file that exists
// but cannot be read is left alone, so no colour in it is lost.
StoredColors UpdateCustomColorsFile(const CustomColorsPlace& place,
                                    const std::function<void(CustomColorArray&)>& change);

} // namespace swatches
