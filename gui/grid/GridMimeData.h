// The clipboard's copy of a block of a grid: the block is taken at once
// (CopiedBlock), its tab-separated text and its HTML are made only when a
// program asks for them, once each.
#pragma once

#include <QByteArray>
#include <QMimeData>

#include "core/grid/GridExport.h"

namespace rumone {

class GridMimeData : public QMimeData {
    Q_OBJECT
public:
    explicit GridMimeData(CopiedBlock block);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    const QByteArray& made(const QString& mimeType) const;

    CopiedBlock block_;
    mutable QByteArray text_, html_;  // UTF-8, empty until asked for
    mutable bool textMade_ = false, htmlMade_ = false;
};

}  // namespace rumone
