// The vehicle-type library's exports: the manager shown over the caller's window, its state in byte 39
// of the status record (1 shown, 2 done).

#include "components/ComponentSupport.h"
#include "components/vehicletypes/VehicleTypeManager.h"
#include "core/SharedDb.h"
#include "extensions/ComponentAbi.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QPointer>

#include <cstring>
#include <memory>

using namespace dbkeel;

namespace {

constexpr int kStateByte = 39;
constexpr unsigned char kDone = 2;

unsigned char statusRecord[64];
QPointer<QWidget> owner;
QPointer<VehicleTypeManager> manager;
std::unique_ptr<SharedDb> database;

}  // namespace

extern "C" {

DBKEEL_COMPONENT_EXPORT int ExtInit(void *initBlock, void *, int)
{
    std::memset(statusRecord, 0, sizeof statusRecord);
    if (!initBlock)
        return 0;
    owner = initBlockOwner(initBlock);
    return 1;
}

DBKEEL_COMPONENT_EXPORT unsigned char *GetDevData(void)
{
    return statusRecord;
}

// Shows the manager over the given area and returns; it reports done in the status record when closed.
DBKEEL_COMPONENT_EXPORT int ExtShow(int, int left, int top, int right, int bottom)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()) || manager)
        return 0;
    if (!database)
        database = std::make_unique<SharedDb>();
    QString error;
    if (!openConfiguredDatabase(*database, error)) {
        prompt().message(QStringLiteral("提示"), QStringLiteral("车型管理无法连接数据库:") + error,
                         PromptIcon::Exclamation);
        statusRecord[kStateByte] = kDone;
        return 0;
    }
    manager = new VehicleTypeManager(*database, owner);
    manager->setAttribute(Qt::WA_DeleteOnClose);
    manager->setWindowModality(Qt::WindowModal);
    if (right > left && bottom > top)
        manager->setGeometry(left, top, right - left, bottom - top);
    QObject::connect(manager, &QDialog::finished, [] { statusRecord[kStateByte] = kDone; });
    manager->show();
    return 1;
}

DBKEEL_COMPONENT_EXPORT int ExtStop(void)
{
    if (manager)
        manager->close();
    return 1;
}

DBKEEL_COMPONENT_EXPORT int ExtRelease(void)
{
    delete manager.data();
    owner = nullptr;
    database.reset();
    releaseHostConfiguration();
    return 1;
}

}  // extern "C"
