#include "gui/VersionWindow.h"

#include "gui/common/Messages.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace rumone {

VersionWindow::VersionWindow(ViewHost& host, const QString& databaseInUse, QWidget* parent)
    : ChildView(host, QStringLiteral("バージョン情報"), QStringLiteral("バージョン情報"), parent)
{
    auto* product = new QLabel(programCaption(), this);
    product->setObjectName("lblProductName");
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    auto* slogan = new QLabel(QStringLiteral("当選数字の記録を残し、偶然だけならどうなるかと並べて見せます。"), this);
    slogan->setObjectName("lblSlogan");
    auto* version = new QLabel(QStringLiteral("バージョン %1").arg(QStringLiteral(RUMONE_VERSION)), this);
    version->setObjectName("lblVersion");
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName("Command1");
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product, 0, Qt::AlignHCenter);
    layout->addWidget(slogan, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    if (!databaseInUse.isEmpty()) {
        auto* database = new QLabel(QStringLiteral("データベース: %1").arg(databaseInUse), this);
        database->setObjectName("lblDatabase");
        database->setWordWrap(true);
        database->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(database);
    }
    layout->addStretch();
    layout->addWidget(close, 0, Qt::AlignRight);
}

}  // namespace rumone
