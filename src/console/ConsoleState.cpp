#include "console/ConsoleState.h"

#include "console/ConsoleEvents.h"

#include <QMutex>
#include <QMutexLocker>

namespace dbkeel {

namespace {
QMutex commandTextMutex;
QString commandTextValue;
}  // namespace

QString commandText()
{
    QMutexLocker lock(&commandTextMutex);
    return commandTextValue;
}

void setCommandText(const QString &text)
{
    QMutexLocker lock(&commandTextMutex);
    commandTextValue = text;
}

void announceRegistryChange()
{
    RegistryRefreshed = 1;
    emit consoleEvents().registryRefreshed();
}

}  // namespace dbkeel
