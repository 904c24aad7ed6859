#include "gui/common/AppSettings.h"

#include <QStandardPaths>

namespace rumone {

namespace {

const QString kZoomKey = QStringLiteral("grid/zoom");
const QString kGeometryKey = QStringLiteral("frame/geometry");
const QString kLastFolderKey = QStringLiteral("dialogs/lastFolder");

}  // namespace

QString AppSettings::filePath()
{
    // The generic location is $XDG_CONFIG_HOME where it is set.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/rumone/rumone.conf");
}

AppSettings::AppSettings() : settings_(filePath(), QSettings::IniFormat) {}

int AppSettings::gridZoom() const
{
    bool ok = false;
    const int percent = settings_.value(kZoomKey, 100).toInt(&ok);
    return ok ? percent : 100;
}

void AppSettings::setGridZoom(int percent)
{
    settings_.setValue(kZoomKey, percent);
    settings_.sync();
}

QByteArray AppSettings::frameGeometry() const
{
    return settings_.value(kGeometryKey).toByteArray();
}

void AppSettings::setFrameGeometry(const QByteArray& geometry)
{
    settings_.setValue(kGeometryKey, geometry);
    settings_.sync();
}

QString AppSettings::lastFolder() const
{
    return settings_.value(kLastFolderKey).toString();
}

void AppSettings::setLastFolder(const QString& folder)
{
    settings_.setValue(kLastFolderKey, folder);
    settings_.sync();
}

}  // namespace rumone
