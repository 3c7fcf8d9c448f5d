#pragma once
// The program's binding to the host library: loaded by path, every export
// bound by name; a wrapper whose export is missing answers kHostMissing.

#include "SharedLibrary.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace dbkeel {

inline constexpr int kHostMissing = -1000;  // every wrapper's answer while its entry point is missing

// The record GetHostCfg fills: entry k (GBK, NUL-terminated) at kEntryBase + kEntrySize * k.
class HostConfigRecord {
public:
    static constexpr int kEntryBase = 5958, kEntrySize = 616, kEntryCount = 256;
    static constexpr int kSize = kEntryBase + kEntrySize * kEntryCount;

    HostConfigRecord();  // zero-filled, full size
    char *data() { return m_bytes.data(); }
    const char *data() const { return m_bytes.constData(); }
    int size() const { return static_cast<int>(m_bytes.size()); }
    QByteArray entry(int k) const;  // GBK bytes up to the first NUL; empty when k out of range
    QString entryText(int k) const;  // decoded from GBK

private:
    QByteArray m_bytes;
};

// Decoded form of GetHostIP's record.
struct LocalIpList {
    QStringList addresses;
    QString computerName;
};

class HostLib {
public:
    HostLib();
    ~HostLib();
    HostLib(const HostLib &) = delete;
    HostLib &operator=(const HostLib &) = delete;

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
    int scanPort(const QByteArray &host, int port);
    int trimLeft(char *text, char c);
    int trimRight(char *text, char c);

private:
    struct Exports;
    SharedLibrary m_library;
    std::unique_ptr<Exports> m_exports;
    QString m_error;
};

HostLib &hostLib();              // the process-wide binding
HostConfigRecord &hostConfig();  // the process-wide record, filled after load

}  // namespace dbkeel
