#pragma once
// The program's binding to the host library: loaded by path, every export
// bound by name; a wrapper whose export is missing answers kHostMissing.

#include "platform/SharedLibrary.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <thread>

namespace dbkeel {

inline constexpr int kHostMissing = -1000;  // every wrapper's answer while its entry point is missing

// The entries of the host configuration record the program reads; each begins with a path or name.
namespace hostEntry {
inline constexpr int LocalDatabase = 0, RemoteDatabase = 1;  // the data sources (DBODBCTYPE picks one)
inline constexpr int ProgramDir = 2, ConfigDir = 3, VehicleBackupDir = 5;
inline constexpr int StandardsProgram = 52, VehicleTypeLibrary = 85, ConfigManager = 86;
inline constexpr int ExtensionDir = 115;  // the backup manager's and the statistics library's directory
inline constexpr int LoginBox = 120, DebugQueryDisplay = 166;
inline constexpr int SystemIndexFile = 167;  // also where the program writes its version file
}  // namespace hostEntry

// The record GetHostCfg fills: entry k (GBK, NUL-terminated) at kEntryBase + kEntrySize * k.
class HostConfigRecord {
public:
    static constexpr int kEntryBase = 5958, kEntrySize = 616, kEntryCount = 256;
    static constexpr int kSize = kEntryBase + kEntrySize * kEntryCount;

    HostConfigRecord();  // zero-filled, full size
    char *data() { return m_bytes.data(); }
    const char *data() const { return m_bytes.constData(); }
    int size() const { return static_cast<int>(m_bytes.size()); }
    QByteArray entry(int k) const;   // GBK bytes up to the first NUL; empty when k out of range
    QString entryText(int k) const;  // decoded from GBK

private:
    QByteArray m_bytes;
};

// Decoded form of GetHostIP's record.
struct LocalIpList {
    QStringList addresses;
    QString computerName;
};

// Every call runs while the library cannot be unloaded: calls share a lock that load, unload and
// a Hold take alone, so a thread inside the library (the watchdog's probe, a sweep's send) is never
// left running in freed code.
class HostLib {
public:
    HostLib();
    ~HostLib();
    HostLib(const HostLib &) = delete;
    HostLib &operator=(const HostLib &) = delete;

    // Keeps every other thread out of the library while it lives: it waits for the calls under
    // way, and calls made meanwhile wait for its end and then go to whatever library is bound
    // then. The holding thread's own calls, unload and load go through (one Hold at a time).
    class Hold {
    public:
        explicit Hold(HostLib &lib);
        ~Hold();
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        HostLib &m_lib;
    };

    // Loads <systemDir>/<libraryFileName(variant)> and binds every export.
    // 1 when all are bound; -1 when the library does not load (nothing bound);
    // -2 when some exports are missing (the others stay bound, see errorString()).
    int load(int variant, const QString &systemDir);
    // Loads the library from the system directory, else, when it is not there, from the installed
    // program's library folder; the same answers as load().
    int loadInstalled(int variant);
    void unload();  // frees the library and nulls every pointer
    bool isLoaded() const;
    QString path() const { return m_library.path(); }  // of the library loaded
    QString errorString() const { return m_error; }
    // Variant 2, 4, 8, 16 → the "2b", "4b", "8b", "16b" library, any other the plain one.
    static QString libraryFileName(int variant);

    int getHostCfg(HostConfigRecord &record);
    int getField(const QByteArray &text, QByteArray &out, int index);
    int getField2(const QByteArray &text, QByteArray &out, int index, char separator);
    // version, text2 (program name) and text3 (description) of the file's version texts
    int getVers(const QByteArray &file, QByteArray &version, QByteArray &text2, QByteArray &text3);
    int postLog(const QByteArray &text);
    int getHostIP(LocalIpList &out);
    int openNet(int channel, int mode, int localPort, int remotePort);
    int closeNet(int channel);
    int sendNetData(int channel, const QByteArray &ip, int port, const char *data, int length);
    int readNetData(int channel, char *data, int length);
    // Bound when the library has them (older ones do not: kHostMissing), not counted by load().
    int waitNetData(int channel, int timeoutMs);
    int wakeNet(int channel);
    int scanPort(const QByteArray &host, int port);
    int trimLeft(char *text, char c);
    int trimRight(char *text, char c);

private:
    struct Exports;
    // The caller's share of the library, or nothing on the holding thread.
    std::shared_lock<std::shared_mutex> use();
    std::unique_lock<std::shared_mutex> useAlone();
    template <typename Fn, typename... Args>
    int call(Fn Exports::*slot, Args... args);
    void unloadInUse();

    SharedLibrary m_library;
    std::unique_ptr<Exports> m_exports;
    QString m_error;
    std::shared_mutex m_use;
    std::atomic<std::thread::id> m_holder{};
};

HostLib &hostLib();              // the process-wide binding
HostConfigRecord &hostConfig();  // the process-wide record, filled after load

// The version of `file`'s version texts (an empty path: the host library's own), else the version this
// program was built as: what is written as a version is never empty, whether the file is missing, not
// stamped, or the library is not loaded.
QString versionText(const QString &file);

}  // namespace dbkeel
