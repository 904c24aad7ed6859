// What the program keeps between runs beside the options file: the zoom of
// its tables, the frame's size and place, and the folder its file dialogs
// last chose in. One file of its own in the user's configuration folder
// ($XDG_CONFIG_HOME/rumone, ~/.config/rumone by default), so that the
// options file keeps exactly its lines.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>

namespace rumone {

class AppSettings {
public:
    AppSettings();

    static QString filePath();

    // The tables' zoom in percent; 100 when none was kept.
    int gridZoom() const;
    void setGridZoom(int percent);
    // The frame's geometry as QWidget::saveGeometry gives it; empty when none.
    QByteArray frameGeometry() const;
    void setFrameGeometry(const QByteArray& geometry);
    // The folder of the last file chosen in a file dialog; empty for none.
    QString lastFolder() const;
    void setLastFolder(const QString& folder);

private:
    QSettings settings_;
};

}  // namespace rumone
