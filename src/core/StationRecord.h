#pragma once
// The 82-byte station record and the 2072-byte command packet of the station network, encoded and
// decoded by this one piece of code for the console and the station agent alike. Little-endian,
// texts in GBK, each text NUL-terminated inside its width.

#include <QByteArray>
#include <QString>

#include <optional>

namespace dbkeel {

struct StationRecord {
    static constexpr int kSize = 82;
    static constexpr int kIpOffset = 2, kIpWidth = 18;
    static constexpr int kPortOffset = 20, kPortWidth = 12;
    static constexpr int kNameOffset = 32, kNameWidth = 50;

    qint16 kind = 0;  // 1 in the record the console sends about itself
    QString ip = QStringLiteral("127.0.0.1");
    QString port = QStringLiteral("15000");
    QString name = QStringLiteral("远程");

    QByteArray toBytes() const;  // kSize bytes; a text too long for its width is cut at a character
    static StationRecord fromBytes(const char *bytes82);
};

// The station command codes (kept apart from the menu's command ids); 1006 and 1007 are neither
// sent nor handled.
namespace stationcode {
inline constexpr int SetClock = 1001;
inline constexpr int Shutdown = 1002;
inline constexpr int Test = 1003;
inline constexpr int Connect = 1004;
inline constexpr int AnnounceFile = 1005;
inline constexpr int FileSent = 1006;  // only ever a PendingCommand value, never on the wire
inline constexpr int Restart = 1008;
inline constexpr int StartProgram = 1009;
inline constexpr int EndProcess = 1010;
inline constexpr int ListProcesses = 1011;
inline constexpr int Message = 1012;
}  // namespace stationcode

// The text of a chat message (1012) as the chat box shows it: "<speaker>说道:\r\n<message>".
QString chatText(const QString &speaker, const QString &message);

struct CommandPacket {
    static constexpr int kSize = 2072;
    static constexpr int kCodeOffset = 12, kLengthOffset = 16, kDataOffset = 20, kTailOffset = 2068;
    static constexpr int kDataSize = 2048;
    static constexpr quint32 kHead = 0x55AAAA55u, kTail = 0xFFEEFFEEu;

    qint32 code = 0;
    QByteArray data;  // the bytes in use, at most kDataSize

    // A text (GBK) as the data: the length counts the text's bytes, a NUL follows inside the area.
    static CommandPacket withText(int code, const QString &text);
    // A station record as the data, then optionally more bytes after it.
    static CommandPacket withRecord(int code, const StationRecord &record, const QByteArray &after = {});

    // kSize bytes: head, zero reserved fields, code, length, data (zero-padded), tail.
    QByteArray toBytes() const;
    // Writes the code, length and data area into an existing kSize buffer (head and tail stay).
    void writeInto(char *packet) const;
    // A datagram of any other size than kSize is not a packet. Head and tail are not checked;
    // a length outside 0 … kDataSize is clamped to the data area.
    static std::optional<CommandPacket> fromBytes(const char *bytes, qsizetype size);
    // The strict test of a peer that owes nothing to the sender: size, head, tail and a length
    // inside the data area.
    static bool isWellFormed(const char *bytes, qsizetype size);

    // The data read as a text: up to the first NUL, GBK decoded.
    QString text() const;
    // The record in the first 82 data bytes; bytes beyond the data in use read as zero.
    StationRecord record() const;
    // The data after the record, as a text.
    QString textAfterRecord() const;
};

}  // namespace dbkeel
