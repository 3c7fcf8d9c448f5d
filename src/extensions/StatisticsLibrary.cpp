#include "extensions/StatisticsLibrary.h"

#include "extensions/ComponentCall.h"

namespace dbkeel {

StatisticsLibrary::~StatisticsLibrary()
{
    unload();
}

bool StatisticsLibrary::load(const QString &path)
{
    if (isLoaded())
        return true;
    m_library.setFileName(path);
    if (path.isEmpty() || !m_library.load())
        return false;
    m_init = bindExport<DbkeelStatExtInit>(m_library, "ExtInit");
    m_status = bindExport<DbkeelExtGetStatTabStatus>(m_library, "ExtGetStatTabStatus");
    m_build = bindExport<DbkeelExtInitStatTab>(m_library, "ExtInitStatTab");
    m_release = bindExport<DbkeelExtRelease>(m_library, "ExtRelease");
    return true;
}

void StatisticsLibrary::unload()
{
    m_init = nullptr;
    m_status = nullptr;
    m_build = nullptr;
    m_release = nullptr;
    if (m_library.isLoaded())
        m_library.unload();
}

int StatisticsLibrary::init(QObject *statusLine)
{
    return guardedCall(m_init, static_cast<void *>(statusLine), 0, 0, 0, "ZETRA");
}

int StatisticsLibrary::build()
{
    return guardedCall(m_build);
}

int StatisticsLibrary::buildStatus()
{
    return guardedCall(m_status);
}

int StatisticsLibrary::release()
{
    return guardedCall(m_release);
}

}  // namespace dbkeel
