#pragma once
// Requests to the station computers over channel 10 of the host library.

#include "core/StationRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace dbkeel {

inline constexpr int kStationChannel = 10;
inline constexpr int kPeerPort = 9898;  // the installation's peer port, passed to OpenNet

// The request packet of a code, filled as the protocol wants it: 1001 the local time, 1002 and 1008
// "0", 1003 the test text, 1004 the local station with kind 1, 1005 and 1009–1011 the command text.
// nullopt for any other code.
std::optional<CommandPacket> requestFor(int code);

// Sends the request of `code` to one computer: 1 when sent, 0 when sending failed. Codes without a
// request (1012 included) send nothing and give 1. A failed 1004 logs "连接IP[%s],命令失败".
int SendCommand(const QString &ip, int port, int code);

// The console's one outgoing packet: filled and sent under one lock, so the worker and the
// user-interface thread never write it at once. The host library's result (> 0 sent).
int sendPacket(const QString &ip, int port, const CommandPacket &packet);

// Opens channel 10 on PORTID; OpenNet's result (0 is failure).
int openStationChannel();
// Closes channel 10 and, after 100 ms, opens it again on PORTID: true when OpenNet succeeded.
bool reopenStationChannel();

}  // namespace dbkeel
