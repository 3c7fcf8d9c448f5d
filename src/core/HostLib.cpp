#include "core/HostLib.h"

#include "hostcfg/HostCfg.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"

#include <QFileInfo>

#include <cstring>

namespace dbkeel {

static_assert(HostConfigRecord::kEntryBase == HOSTCFG_ENTRY_BASE);
static_assert(HostConfigRecord::kEntrySize == HOSTCFG_ENTRY_SIZE);
static_assert(HostConfigRecord::kEntryCount == HOSTCFG_ENTRY_COUNT);
static_assert(HostConfigRecord::kSize == HOSTCFG_RECORD_SIZE);

HostConfigRecord::HostConfigRecord() : m_bytes(kSize, '\0') {}

QByteArray HostConfigRecord::entry(int k) const
{
    if (k < 0 || k >= kEntryCount)
        return {};
    const char *text = data() + kEntryBase + kEntrySize * k;
    return QByteArray(text, static_cast<qsizetype>(qstrnlen(text, kEntrySize)));
}

QString HostConfigRecord::entryText(int k) const
{
    return fromGbk(entry(k));
}

// One pointer per export, null while unbound.
struct HostLib::Exports {
    decltype(&::GetHostCfg) getHostCfg = nullptr;
    decltype(&::GetField) getField = nullptr;
    decltype(&::GetField2) getField2 = nullptr;
    decltype(&::GetVers) getVers = nullptr;
    decltype(&::PostLog) postLog = nullptr;
    decltype(&::GetHostIP) getHostIP = nullptr;
    decltype(&::OpenNet) openNet = nullptr;
    decltype(&::CloseNet) closeNet = nullptr;
    decltype(&::SendNetData) sendNetData = nullptr;
    decltype(&::ReadNetData) readNetData = nullptr;
    decltype(&::WaitNetData) waitNetData = nullptr;  // optional: a library without them still serves
    decltype(&::WakeNet) wakeNet = nullptr;
    decltype(&::ScanPort) scanPort = nullptr;
    decltype(&::TrimLeft) trimLeft = nullptr;
    decltype(&::TrimRight) trimRight = nullptr;
};

namespace {

template <typename Fn>
void bind(const SharedLibrary &library, const char *name, Fn &slot, QStringList &missing)
{
    slot = reinterpret_cast<Fn>(library.symbol(name));
    if (!slot)
        missing << QString::fromLatin1(name);
}

// The NUL-terminated text at `offset` of `record`, at most `room` bytes long.
QByteArray textAt(const QByteArray &record, int offset, int room)
{
    const char *text = record.constData() + offset;
    return QByteArray(text, static_cast<qsizetype>(qstrnlen(text, static_cast<size_t>(room))));
}

}  // namespace

HostLib::HostLib() : m_exports(std::make_unique<Exports>()) {}

HostLib::~HostLib() = default;

HostLib::Hold::Hold(HostLib &lib) : m_lib(lib)
{
    m_lib.m_use.lock();
    m_lib.m_holder = std::this_thread::get_id();
}

HostLib::Hold::~Hold()
{
    m_lib.m_holder = std::thread::id();
    m_lib.m_use.unlock();
}

std::shared_lock<std::shared_mutex> HostLib::use()
{
    if (m_holder.load() == std::this_thread::get_id())
        return {};
    return std::shared_lock(m_use);
}

std::unique_lock<std::shared_mutex> HostLib::useAlone()
{
    if (m_holder.load() == std::this_thread::get_id())
        return {};
    return std::unique_lock(m_use);
}

template <typename Fn, typename... Args>
int HostLib::call(Fn Exports::*slot, Args... args)
{
    const auto lock = use();
    const Fn fn = (*m_exports).*slot;
    return fn ? fn(args...) : kHostMissing;
}

QString HostLib::libraryFileName(int variant)
{
    QString suffix;
    if (variant == 2 || variant == 4 || variant == 8 || variant == 16)
        suffix = QString::number(variant) + QLatin1Char('b');
#ifdef Q_OS_WIN
    return QStringLiteral("HostCfg%1.dll").arg(suffix);
#else
    return QStringLiteral("libHostCfg%1.so").arg(suffix);
#endif
}

int HostLib::load(int variant, const QString &systemDir)
{
    const auto lock = useAlone();
    unloadInUse();
    if (!m_library.open(systemDir + QLatin1Char('/') + libraryFileName(variant))) {
        m_error = m_library.errorString();
        return -1;
    }
    SharedLibrary &lib = m_library;
    Exports &e = *m_exports;
    QStringList missing;
    bind(lib, "GetHostCfg", e.getHostCfg, missing);
    bind(lib, "GetField", e.getField, missing);
    bind(lib, "GetField2", e.getField2, missing);
    bind(lib, "GetVers", e.getVers, missing);
    bind(lib, "PostLog", e.postLog, missing);
    bind(lib, "GetHostIP", e.getHostIP, missing);
    bind(lib, "OpenNet", e.openNet, missing);
    bind(lib, "CloseNet", e.closeNet, missing);
    bind(lib, "SendNetData", e.sendNetData, missing);
    bind(lib, "ReadNetData", e.readNetData, missing);
    bind(lib, "ScanPort", e.scanPort, missing);
    bind(lib, "TrimLeft", e.trimLeft, missing);
    bind(lib, "TrimRight", e.trimRight, missing);
    QStringList optional;
    bind(lib, "WaitNetData", e.waitNetData, optional);
    bind(lib, "WakeNet", e.wakeNet, optional);
    if (!missing.isEmpty()) {
        m_error = QStringLiteral("%1: missing %2").arg(lib.path(), missing.join(QStringLiteral(", ")));
        return -2;
    }
    m_error.clear();
    return 1;
}

int HostLib::loadInstalled(int variant)
{
    const QString systemDir = systemDirectory();
    const QString installedDir = installedLibraryDirectory();
    const bool inSystemDir = QFileInfo::exists(systemDir + QLatin1Char('/') + libraryFileName(variant));
    return load(variant, inSystemDir || installedDir.isEmpty() ? systemDir : installedDir);
}

void HostLib::unload()
{
    const auto lock = useAlone();
    unloadInUse();
}

void HostLib::unloadInUse()
{
    *m_exports = Exports{};
    m_library.close();
}

bool HostLib::isLoaded() const
{
    return m_library.isOpen();
}

int HostLib::getHostCfg(HostConfigRecord &record)
{
    return call(&Exports::getHostCfg, record.data());
}

int HostLib::getField(const QByteArray &text, QByteArray &out, int index)
{
    char field[HOSTCFG_FIELD_SIZE] = {};
    const int result = call(&Exports::getField, text.constData(), field, index);
    out = QByteArray(field);
    return result;
}

int HostLib::getField2(const QByteArray &text, QByteArray &out, int index, char separator)
{
    char field[HOSTCFG_FIELD_SIZE] = {};
    const int result = call(&Exports::getField2, text.constData(), field, index, separator);
    out = QByteArray(field);
    return result;
}

int HostLib::getVers(const QByteArray &file, QByteArray &version, QByteArray &text2, QByteArray &text3)
{
    QByteArray record(HOSTCFG_VERSION_SIZE, '\0');
    const int result = call(&Exports::getVers, file.constData(), record.data());
    version = textAt(record, HOSTCFG_VERSION_TEXT, HOSTCFG_VERSION_NAME - HOSTCFG_VERSION_TEXT);
    text2 = textAt(record, HOSTCFG_VERSION_NAME, HOSTCFG_VERSION_DESCRIPTION - HOSTCFG_VERSION_NAME);
    text3 = textAt(record, HOSTCFG_VERSION_DESCRIPTION, HOSTCFG_VERSION_SIZE - HOSTCFG_VERSION_DESCRIPTION);
    return result;
}

int HostLib::postLog(const QByteArray &text)
{
    return call(&Exports::postLog, text.constData());
}

int HostLib::getHostIP(LocalIpList &out)
{
    QByteArray record(HOSTCFG_IP_RECORD_SIZE, '\0');
    const int result = call(&Exports::getHostIP, record.data());
    int32_t count = 0;
    std::memcpy(&count, record.constData(), sizeof count);
    out.addresses.clear();
    for (int i = 0; i < qBound(0, count, static_cast<int>(HOSTCFG_IP_MAX)); ++i)
        out.addresses << fromGbk(textAt(record, 4 + HOSTCFG_IP_SIZE * i, HOSTCFG_IP_SIZE));
    out.computerName = fromGbk(textAt(record, HOSTCFG_IP_NAME_OFFSET, HOSTCFG_IP_NAME_SIZE));
    return result;
}

int HostLib::openNet(int channel, int mode, int localPort, int remotePort)
{
    return call(&Exports::openNet, channel, mode, localPort, remotePort);
}

int HostLib::closeNet(int channel)
{
    return call(&Exports::closeNet, channel);
}

int HostLib::sendNetData(int channel, const QByteArray &ip, int port, const char *data, int length)
{
    return call(&Exports::sendNetData, channel, ip.constData(), port, data, length);
}

int HostLib::readNetData(int channel, char *data, int length)
{
    return call(&Exports::readNetData, channel, data, length);
}

int HostLib::waitNetData(int channel, int timeoutMs)
{
    return call(&Exports::waitNetData, channel, timeoutMs);
}

int HostLib::wakeNet(int channel)
{
    return call(&Exports::wakeNet, channel);
}

int HostLib::scanPort(const QByteArray &host, int port)
{
    return call(&Exports::scanPort, host.constData(), port);
}

int HostLib::trimLeft(char *text, char c)
{
    return call(&Exports::trimLeft, text, c);
}

int HostLib::trimRight(char *text, char c)
{
    return call(&Exports::trimRight, text, c);
}

HostLib &hostLib()
{
    static HostLib binding;
    return binding;
}

HostConfigRecord &hostConfig()
{
    static HostConfigRecord record;
    return record;
}

QString versionText(const QString &file)
{
    QByteArray version, name, description;
    hostLib().getVers(toGbk(file), version, name, description);
    return version.isEmpty() ? QStringLiteral(DBKEEL_VERSION) : fromGbk(version);
}

}  // namespace dbkeel
