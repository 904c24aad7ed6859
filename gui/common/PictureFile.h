// A picture saved as a PNG file, written the way the program replaces
// every file it writes (core/store/SafeFile.h's FileReplacement): whole or
// not at all, a link followed with its target's permissions kept, a pipe,
// device or circle of links refused.
#pragma once

class QImage;
class QString;

namespace rumone {

// Empty when `image` was written to `path`; otherwise a Japanese sentence
// saying why nothing was.
QString writePngFile(const QImage& image, const QString& path);

}  // namespace rumone
