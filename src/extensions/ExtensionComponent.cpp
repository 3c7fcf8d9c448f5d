#include "extensions/ExtensionComponent.h"

#include "extensions/ComponentCall.h"

#include <QtEndian>

#include <cstring>

namespace dbkeel {

namespace {

template <typename Value>
void put(QByteArray &record, int offset, Value value)
{
    qToLittleEndian(value, record.data() + offset);
}

}  // namespace

QByteArray initRecord(const QRect &ownerRect, void *owner, qint16 mode, qint16 ownerFlag, qint32 connection)
{
    QByteArray record(DBKEEL_INIT_SIZE, '\0');
    const qint32 rect[] = {ownerRect.left(), ownerRect.top(), ownerRect.left() + ownerRect.width(),
                           ownerRect.top() + ownerRect.height()};
    for (int i = 0; i < 4; ++i)
        put(record, DBKEEL_INIT_RECT + 4 * i, rect[i]);
    put(record, DBKEEL_INIT_CONNECTION, connection);
    put(record, DBKEEL_INIT_MODE, mode);
    for (int offset : {DBKEEL_INIT_FLAG1, DBKEEL_INIT_FLAG2, DBKEEL_INIT_FLAG3})
        put(record, offset, qint32(1));
    put(record, DBKEEL_INIT_OWNER_FLAG, ownerFlag);
    std::memcpy(record.data() + DBKEEL_INIT_OWNER, &owner, sizeof owner);
    return record;
}

ExtensionComponent::~ExtensionComponent()
{
    unload();
}

bool ExtensionComponent::load(const QString &path)
{
    if (isLoaded())
        return true;
    m_library.setFileName(path);
    if (path.isEmpty() || !m_library.load()) {
        m_error = path.isEmpty() ? QStringLiteral("no component path") : m_library.errorString();
        return false;
    }
    m_error.clear();
    m_init = bindExport<DbkeelExtInit>(m_library, "ExtInit");
    m_show = bindExport<DbkeelExtShow>(m_library, "ExtShow");
    m_doModal = bindExport<DbkeelExtDoModal>(m_library, "ExtDoModal");
    m_stop = bindExport<DbkeelExtStop>(m_library, "ExtStop");
    m_release = bindExport<DbkeelExtRelease>(m_library, "ExtRelease");
    m_devData = bindExport<DbkeelGetDevData>(m_library, "GetDevData");
    return true;
}

void ExtensionComponent::unload()
{
    if (m_started) {  // its windows and timers must not outlive the code they run
        stop();
        release();
    }
    m_init = nullptr;
    m_show = nullptr;
    m_doModal = nullptr;
    m_stop = nullptr;
    m_release = nullptr;
    m_devData = nullptr;
    if (m_library.isLoaded())
        m_library.unload();
}

int ExtensionComponent::init(void *first, void *second, int third)
{
    m_started = m_started || m_init;
    return guardedCall(m_init, first, second, third);
}

int ExtensionComponent::show(int mode, int left, int top, int right, int bottom)
{
    return guardedCall(m_show, mode, left, top, right, bottom);
}

int ExtensionComponent::doModal(UserRecord *user)
{
    return guardedCall(m_doModal, user);
}

int ExtensionComponent::stop()
{
    return guardedCall(m_stop);
}

int ExtensionComponent::release()
{
    m_started = false;
    return guardedCall(m_release);
}

unsigned char *ExtensionComponent::devData()
{
    return guardedCall(m_devData);
}

}  // namespace dbkeel
