#include "gui/grid/GridMimeData.h"

#include <QVariant>

namespace rumone {

namespace {

const QString kText = QStringLiteral("text/plain");
const QString kHtml = QStringLiteral("text/html");

// A form written straight into the bytes handed out.
QByteArray bytesOf(const CopiedBlock& block, void (CopiedBlock::*write)(const CopiedBlock::Room&) const)
{
    QByteArray bytes;
    (block.*write)([&bytes](std::size_t size) {
        bytes.resize(static_cast<qsizetype>(size));
        return bytes.data();
    });
    return bytes;
}

}  // namespace

GridMimeData::GridMimeData(CopiedBlock block) : block_(std::move(block)) {}

QStringList GridMimeData::formats() const
{
    return {kText, kHtml};
}

bool GridMimeData::hasFormat(const QString& mimeType) const
{
    return mimeType == kText || mimeType == kHtml;
}

const QByteArray& GridMimeData::made(const QString& mimeType) const
{
    if (mimeType == kText) {
        if (!textMade_)
            text_ = bytesOf(block_, &CopiedBlock::writeTsv);
        textMade_ = true;
        return text_;
    }
    if (!htmlMade_)
        html_ = bytesOf(block_, &CopiedBlock::writeHtml);
    htmlMade_ = true;
    return html_;
}

QVariant GridMimeData::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (!hasFormat(mimeType))
        return {};
    const QByteArray& bytes = made(mimeType);
    if (type.id() == QMetaType::QString)
        return QString::fromUtf8(bytes);
    return bytes;
}

}  // namespace rumone
