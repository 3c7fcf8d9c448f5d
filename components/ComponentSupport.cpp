#include "components/ComponentSupport.h"

#include "core/AppConfig.h"
#include "core/Database.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "extensions/ComponentAbi.h"
#include "platform/Paths.h"
#include "platform/QtPrompt.h"

#include <cstring>

namespace dbkeel {
namespace {

// A component keeps its own copy of the prompt seam: from loading on, it asks with Qt dialogs unless a
// test sets its own prompt.
struct ComponentDialogs {
    QtPrompt dialogs;
    ComponentDialogs() { setPrompt(&dialogs); }
    ~ComponentDialogs() { setPrompt(nullptr); }
} componentDialogs;

}  // namespace

QWidget *initBlockOwner(const void *initBlock)
{
    QWidget *window = nullptr;
    if (initBlock)
        std::memcpy(&window, static_cast<const char *>(initBlock) + DBKEEL_INIT_OWNER, sizeof window);
    return window;
}

bool loadHostConfiguration(QString &error)
{
    if (hostLib().isLoaded())
        return true;
    if (hostLib().loadInstalled(1) == -1 || hostLib().getHostCfg(hostConfig()) <= 0) {
        error = QStringLiteral("主机配置库加载失败:%1").arg(hostLib().errorString());
        hostLib().unload();
        return false;
    }
    return true;
}

void releaseHostConfiguration()
{
    hostLib().unload();
    hostConfig() = HostConfigRecord();
}

int configuredDatabaseType()
{
    return readSystemConfig().odbcType;
}

bool openConfiguredDatabase(SharedDb &db, QString &error)
{
    if (db.isOpen())
        return true;
    if (!loadHostConfiguration(error))
        return false;
    const DbCredentials credentials = databaseCredentials(configuredDatabaseType());
    if (credentials.dataSource.isEmpty()) {
        error = QStringLiteral("数据库连接失败: 主机配置中没有数据源名称");
        return false;
    }
    try {
        db.open(connectStringFor(credentials), kLoginTimeoutSeconds);
        return true;
    } catch (const DbError &failure) {
        error = failure.text();
        return false;
    }
}

QString hostConfigurationFile()
{
    return joinPath(systemDirectory(), QStringLiteral("HostCfg.ini"));
}

}  // namespace dbkeel
