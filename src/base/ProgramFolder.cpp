#include "base/ProgramFolder.h"

#include <QDir>
#include <QtGlobal>

namespace Quorvel1 {

QString ProgramFolder()
{
    QString folder = qEnvironmentVariable("QUORVEL_HOME");
    if (folder.isEmpty()) {
        QString data = qEnvironmentVariable("XDG_DATA_HOME");
        if (data.isEmpty())
            data = QDir::homePath() + "/.local/share";
        folder = data + "/Quorvel";
    }
    QDir().mkpath(folder);
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

} // namespace Quorvel1
