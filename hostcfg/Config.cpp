// GetHostCfg: the numbered entries of [HOSTCFG] in <system directory>/HostCfg.ini.

#include "hostcfg/HostCfg.h"

#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Profile.h"

#include <QFileInfo>

#include <cstring>

extern "C" int GetHostCfg(char *record)
{
    if (!record)
        return -2;
    std::memset(record, 0, HOSTCFG_RECORD_SIZE);
    const QString path = dbkeel::joinPath(dbkeel::systemDirectory(), QStringLiteral("HostCfg.ini"));
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return -1;
    const dbkeel::ProfileFile profile(path);
    int entriesSet = 0;
    for (int k = 0; k < HOSTCFG_ENTRY_COUNT; ++k) {
        const QString value = profile.readString(QStringLiteral("HOSTCFG"), QString::number(k), QString(),
                                                 HOSTCFG_ENTRY_SIZE);
        if (value.isEmpty())
            continue;
        dbkeel::putGbkField(record + HOSTCFG_ENTRY_BASE + HOSTCFG_ENTRY_SIZE * k, HOSTCFG_ENTRY_SIZE, value);
        ++entriesSet;
    }
    return entriesSet;
}
