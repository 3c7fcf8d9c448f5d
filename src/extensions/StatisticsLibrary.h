#pragma once
// The binder of the statistics library (DayTally): loaded by path, its four exports bound by name,
// every call guarded as for the extension components.

#include "extensions/ComponentAbi.h"

#include <QLibrary>
#include <QString>

class QObject;

namespace dbkeel {

class StatisticsLibrary {
public:
    StatisticsLibrary() = default;
    ~StatisticsLibrary();
    StatisticsLibrary(const StatisticsLibrary &) = delete;
    StatisticsLibrary &operator=(const StatisticsLibrary &) = delete;

    bool load(const QString &path);
    bool isLoaded() const { return m_library.isLoaded(); }
    void unload();

    // ExtInit(statusLine, 0, 0, 0, "ZETRA").
    int init(QObject *statusLine);
    bool canBuild() const { return m_build != nullptr; }
    int build();        // ExtInitStatTab: returns when the statistics rows are built
    int buildStatus();  // ExtGetStatTabStatus (the program itself never asks)
    int release();

private:
    QLibrary m_library;
    DbkeelStatExtInit m_init = nullptr;
    DbkeelExtGetStatTabStatus m_status = nullptr;
    DbkeelExtInitStatTab m_build = nullptr;
    DbkeelExtRelease m_release = nullptr;
};

}  // namespace dbkeel
