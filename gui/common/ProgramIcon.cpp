#include "gui/common/ProgramIcon.h"

// The resource file is compiled into a static library: its initialiser
// must be called by name, outside any namespace.
static void initialiseProgramResources()
{
    Q_INIT_RESOURCE(rumone);
}

namespace rumone {

QIcon programIcon()
{
    static const bool registered = (initialiseProgramResources(), true);
    (void)registered;
    QIcon icon;
    for (int size : {16, 32, 64, 256})
        icon.addFile(QStringLiteral(":/rumone/rumone-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace rumone
