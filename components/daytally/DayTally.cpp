// The statistics library's exports: the status line given at ExtInit follows the build.

#include "components/ComponentSupport.h"
#include "components/daytally/StatTally.h"
#include "core/SharedDb.h"
#include "extensions/ComponentAbi.h"

#include <QObject>

#include <atomic>

using namespace dbkeel;

namespace {

std::atomic<QObject *> statusLine{nullptr};
std::atomic<bool> building{false};

// The caller's status line is a QObject with an invokable setText(QString), on the window's thread.
void showStatus(const QString &text)
{
    if (QObject *line = statusLine.load())
        QMetaObject::invokeMethod(line, "setText", Qt::QueuedConnection, Q_ARG(QString, text));
}

}  // namespace

extern "C" {

DBKEEL_COMPONENT_EXPORT int ExtInit(void *line, int, int, int, const char *)
{
    statusLine = static_cast<QObject *>(line);
    return 1;
}

DBKEEL_COMPONENT_EXPORT int ExtGetStatTabStatus(void)
{
    return building ? 1 : 0;
}

// Builds the statistics rows on the library's own connection; the number of rows, 0 on failure.
DBKEEL_COMPONENT_EXPORT int ExtInitStatTab(void)
{
    if (building.exchange(true))
        return 0;
    int rows = 0;
    SharedDb db;
    QString error;
    if (!openConfiguredDatabase(db, error)) {
        showStatus(QStringLiteral("统计失败:") + error);
    } else {
        try {
            rows = fillStatTable(db, showStatus);
        } catch (const DbError &failure) {
            showStatus(QStringLiteral("统计失败:") + failure.text());
        }
    }
    building = false;
    return rows;
}

DBKEEL_COMPONENT_EXPORT int ExtRelease(void)
{
    statusLine = nullptr;
    releaseHostConfiguration();
    return 1;
}

}  // extern "C"
