#include "tools/cli/CliSession.h"

#include "core/AppConfig.h"
#include "core/AppState.h"
#include "core/Database.h"
#include "core/HostLib.h"
#include "platform/Paths.h"

#include <cstdio>

namespace dbkeel::cli {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

bool openInstallation(QString &error, TextCheck textCheck)
{
    const QString systemDir = systemDirectory();
    if (hostLib().loadInstalled(1) == -1) {
        error = QStringLiteral("HostCfg.dll 加载错误或者没有该文件！ (%1)").arg(systemDir);
        return false;
    }
    if (hostLib().getHostCfg(hostConfig()) <= 0) {
        error = QStringLiteral("主机配置读取失败 (%1)").arg(systemDir);
        return false;
    }
    ConfigFilePath() = configFilePathFromHost();
    DBODBCTYPE = readSystemConfig().odbcType;
    if (OpenDb(error, textCheck) != 1)
        return false;
    DbReady = 1;
    return true;
}

}  // namespace dbkeel::cli
