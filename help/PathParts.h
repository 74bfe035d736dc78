#pragma once
// The parts of a slash-separated path, as the help binding and its diagnostics name them.

#include <QString>

namespace tablor {

// The directory part of a path, with its final "/" (empty for a bare name).
inline QString directoryPart(const QString& path) {
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// What follows the last "/".
inline QString fileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace tablor
