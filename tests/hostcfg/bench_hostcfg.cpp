// Figures for the host library: version scan speed, configuration record fill and
// the channel's packet rate. Usage: bench_hostcfg (next to libHostCfg.so).

#include "core/HostLib.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

using namespace dbkeel;

namespace {

// Scans a file of 256 MiB of `filler` with the stamp at its end.
void benchVersionScan(HostLib &host, const QString &dir, const char *what, const QByteArray &filler)
{
    const QString path = dir + QStringLiteral("/large.bin");
    constexpr int kMiB = 256;
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        for (int i = 0; i < kMiB; ++i)
            file.write(filler);
        file.write(QByteArray("@@DBKEEL") + "-VERSION@@" + '\0' + "big" + '\0' + "1.0" + '\0' + "d" + '\0' + "@@END"
                   + "@@");
    }
    QByteArray version, name, description;
    QElapsedTimer timer;
    timer.start();
    const int result = host.getVers(QFile::encodeName(path), version, name, description);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("GetVers, stamp after %d MiB of %s: result %d, version %s, %.3f s, %.0f MiB/s\n", kMiB, what, result,
                version.constData(), seconds, kMiB / seconds);
    QFile::remove(path);
}

QByteArray randomMiB()
{
    QByteArray bytes(1 << 20, '\0');
    QRandomGenerator generator(7);
    generator.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    return bytes;
}

void benchHostCfg(HostLib &host, const QString &dir)
{
    QByteArray ini = "[HOSTCFG]\r\n";
    for (int k = 0; k < 256; ++k)
        ini += QByteArray::number(k) + '=' + QByteArray(600, 'a' + k % 26) + "\r\n";
    QFile file(dir + QStringLiteral("/HostCfg.ini"));
    file.open(QIODevice::WriteOnly);
    file.write(ini);
    file.close();
    HostConfigRecord record;
    constexpr int kRuns = 100;
    QElapsedTimer timer;
    timer.start();
    int result = 0;
    for (int i = 0; i < kRuns; ++i)
        result = host.getHostCfg(record);
    std::printf("GetHostCfg, 256 entries of 600 bytes: result %d, %.2f ms per call\n", result,
                static_cast<double>(timer.nsecsElapsed()) / 1e6 / kRuns);
}

void benchChannel(HostLib &host)
{
    constexpr int kPort = 28731, kPackets = 20000, kSize = 2072;
    if (host.openNet(10, 0, kPort, 9898) != 1) {
        std::printf("channel: port %d in use\n", kPort);
        return;
    }
    QByteArray packet(kSize, 'p'), received(kSize, '\0');
    QElapsedTimer timer;
    timer.start();
    int roundTrips = 0;
    for (int i = 0; i < kPackets; ++i) {
        host.sendNetData(10, "127.0.0.1", kPort, packet.constData(), kSize);
        roundTrips += host.readNetData(10, received.data(), kSize) == kSize ? 1 : 0;
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("channel 10, send and read back on 127.0.0.1: %d of %d packets, %.0f packets/s\n", roundTrips, kPackets,
                roundTrips / seconds);
    host.closeNet(15);
}

}  // namespace

int main(int, char **argv)
{
    QTemporaryDir dir;
    qputenv("DBKEEL_SYSDIR", QFile::encodeName(dir.path()));
    HostLib host;
    if (host.load(1, QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath()) != 1) {
        std::fprintf(stderr, "%s\n", qPrintable(host.errorString()));
        return 1;
    }
    benchVersionScan(host, dir.path(), "random bytes", randomMiB());
    benchVersionScan(host, dir.path(), "'@' (worst case)", QByteArray(1 << 20, '@'));
    benchHostCfg(host, dir.path());
    benchChannel(host);
    return 0;
}
