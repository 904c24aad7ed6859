#include "gui/common/PictureFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

#include "core/store/SafeFile.h"

namespace rumone {

QString writePngFile(const QImage& image, const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return QStringLiteral("画像「%1」を PNG 形式にできませんでした。").arg(path);
    try {
        replaceFileWith(QFile::encodeName(path).toStdString(), bytes.toStdString());
    } catch (const FileWriteError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

}  // namespace rumone
