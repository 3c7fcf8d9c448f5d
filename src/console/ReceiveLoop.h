#pragma once
// The console's receive loop and its handling of station replies.

#include "core/StationRecord.h"

#include <QList>
#include <QStringList>

namespace dbkeel {

// Reads channel 10 while ReceiveRunFlag is 1 and handles each reply as it comes; between replies it
// sleeps in the host library's wait on the socket, which a change of any shared flag ends, so it
// costs nothing at rest and sees the flag cleared at once. When the flag has been cleared it sets it
// back to 1 (the acknowledgement) and returns.
void ReceiveLoop();

// One reply: the log line of its code, the connection mark (1004), the process list (1011), the
// chat box (1012). Codes outside the table are ignored.
void handleReply(const CommandPacket &reply);

// The rows of a 1011 reply's text "count,name1,name2,…": name, computer, ip, port. At most `count`
// rows, and no more than the names the text holds.
QList<QStringList> processRows(const QString &list, const StationRecord &from);

}  // namespace dbkeel
