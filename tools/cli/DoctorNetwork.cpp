// The doctor's network check: a 1004, as the console sends it, to every station of the layout at once,
// and one finding for each that has not answered when the time is up.

#include "console/StationCommands.h"
#include "core/AppConfig.h"
#include "core/LineTree.h"
#include "core/StationRegistry.h"
#include "tools/cli/DoctorChecks.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

namespace dbkeel::cli {

namespace {

struct Station {
    QString line;  // "line 1 (安检线) station 2"
    QString ip;
    QString port;
};

// One address and port of the layout and the stations that share it.
struct Target {
    QHostAddress address;
    quint16 port = 0;
    QList<Station> stations;
    bool answered = false;
    QString sendError;  // why the request could not be sent
};

QList<Station> stationsOfLayout(SharedDb &db)
{
    QList<Station> stations;
    for (const LayoutLine &line : layoutLines(db))
        for (const LayoutStation &station : layoutStations(db, line.id))
            stations.append(
                {QStringLiteral("line %1 (%2) station %3").arg(line.id, line.name, QString::number(station.stationId)),
                 station.ip, station.port});
    return stations;
}

QString whereItIs(const Station &station)
{
    return QStringLiteral("%1 at %2 port %3").arg(station.line, station.ip, station.port);
}

// The targets to ask; stations whose address or port is unusable become findings instead.
QList<Target> targetsOf(const QList<Station> &stations, Findings &findings)
{
    QList<Target> targets;
    for (const Station &station : stations) {
        const QHostAddress address(station.ip.trimmed());
        bool isNumber = false;
        const uint port = station.port.toUInt(&isNumber);
        if (address.isNull() || !isNumber || port == 0 || port > 65535) {
            findings.append({Severity::Error, QStringLiteral("network"),
                             whereItIs(station) + QStringLiteral(": not an IP address and port"),
                             QStringLiteral("correct the station's address in the layout")});
            continue;
        }
        const auto same = std::find_if(targets.begin(), targets.end(), [&](const Target &target) {
            return target.port == port && target.address.isEqual(address, QHostAddress::TolerantConversion);
        });
        if (same != targets.end())
            same->stations.append(station);
        else
            targets.append({address, quint16(port), {station}, false, {}});
    }
    return targets;
}

// Marks the target a well-formed 1004 reply came from.
void take(const QNetworkDatagram &datagram, QList<Target> &targets)
{
    const QByteArray bytes = datagram.data();
    const std::optional<CommandPacket> reply = CommandPacket::fromBytes(bytes.constData(), bytes.size());
    if (!reply || reply->code != stationcode::Connect)
        return;
    for (Target &target : targets)
        if (target.port == datagram.senderPort()
            && target.address.isEqual(datagram.senderAddress(), QHostAddress::TolerantConversion))
            target.answered = true;
}

}  // namespace

void checkNetwork(SharedDb &db, std::chrono::milliseconds bound, Findings &findings)
{
    const SystemConfig config = readSystemConfig();
    localStation().ip = config.serverIp;
    localStation().port = config.portId;
    const QByteArray request = requestFor(stationcode::Connect)->toBytes();

    QList<Target> targets = targetsOf(stationsOfLayout(db), findings);
    QUdpSocket socket;
    if (!socket.bind(QHostAddress::AnyIPv4, 0)) {
        findings.append({Severity::Error,
                         QStringLiteral("network"),
                         QStringLiteral("could not open a UDP socket: ") + socket.errorString(),
                         {}});
        return;
    }
    for (Target &target : targets)
        if (socket.writeDatagram(request, target.address, target.port) != request.size())
            target.sendError = socket.errorString();

    QElapsedTimer clock;
    clock.start();
    const auto waiting = [&] {
        return std::any_of(targets.begin(), targets.end(),
                           [](const Target &target) { return !target.answered && target.sendError.isEmpty(); });
    };
    while (waiting() && clock.elapsed() < bound.count()) {
        if (socket.waitForReadyRead(int(bound.count() - clock.elapsed())))
            while (socket.hasPendingDatagrams())
                take(socket.receiveDatagram(), targets);
    }
    const QString within = QStringLiteral(": no answer to 1004 within %1 ms").arg(bound.count());
    for (const Target &target : targets) {
        if (target.answered)
            continue;
        const QString why = target.sendError.isEmpty() ? within
                                                       : QStringLiteral(": could not send 1004: ") + target.sendError;
        for (const Station &station : target.stations)
            findings.append({Severity::Warning, QStringLiteral("network"), whereItIs(station) + why,
                             QStringLiteral("check that the station computer is on and its agent runs on that port")});
    }
}

}  // namespace dbkeel::cli
