#include "core/StationRecord.h"

#include "platform/Gbk.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace dbkeel {

namespace {

QString takeText(const char *field, int width)
{
    const auto *end = static_cast<const char *>(std::memchr(field, 0, size_t(width)));
    return fromGbk(QByteArray(field, end ? int(end - field) : width));
}

QString textUpToNul(const QByteArray &bytes)
{
    const int nul = int(bytes.indexOf('\0'));
    return fromGbk(nul < 0 ? bytes : bytes.left(nul));
}

}  // namespace

QByteArray StationRecord::toBytes() const
{
    QByteArray bytes(kSize, '\0');
    qToLittleEndian<qint16>(kind, bytes.data());
    putGbkField(bytes.data() + kIpOffset, kIpWidth, ip);
    putGbkField(bytes.data() + kPortOffset, kPortWidth, port);
    putGbkField(bytes.data() + kNameOffset, kNameWidth, name);
    return bytes;
}

StationRecord StationRecord::fromBytes(const char *bytes82)
{
    StationRecord record;
    record.kind = qFromLittleEndian<qint16>(bytes82);
    record.ip = takeText(bytes82 + kIpOffset, kIpWidth);
    record.port = takeText(bytes82 + kPortOffset, kPortWidth);
    record.name = takeText(bytes82 + kNameOffset, kNameWidth);
    return record;
}

QString chatText(const QString &speaker, const QString &message)
{
    return speaker + QStringLiteral("说道:\r\n") + message;
}

CommandPacket CommandPacket::withText(int code, const QString &text)
{
    // One byte stays free for the terminating NUL.
    return {code, cutGbkBytes(toGbk(text), kDataSize - 1)};
}

CommandPacket CommandPacket::withRecord(int code, const StationRecord &record, const QByteArray &after)
{
    return {code, (record.toBytes() + after).left(kDataSize)};
}

QByteArray CommandPacket::toBytes() const
{
    QByteArray bytes(kSize, '\0');
    qToLittleEndian<quint32>(kHead, bytes.data());
    qToLittleEndian<quint32>(kTail, bytes.data() + kTailOffset);
    writeInto(bytes.data());
    return bytes;
}

void CommandPacket::writeInto(char *packet) const
{
    const int length = int(std::min<qsizetype>(data.size(), kDataSize));
    qToLittleEndian<qint32>(code, packet + kCodeOffset);
    qToLittleEndian<qint32>(length, packet + kLengthOffset);
    std::memset(packet + kDataOffset, 0, kDataSize);
    std::memcpy(packet + kDataOffset, data.constData(), size_t(length));
}

std::optional<CommandPacket> CommandPacket::fromBytes(const char *bytes, qsizetype size)
{
    if (size != kSize)
        return std::nullopt;
    const qint32 length = std::clamp<qint32>(qFromLittleEndian<qint32>(bytes + kLengthOffset), 0, kDataSize);
    return CommandPacket{qFromLittleEndian<qint32>(bytes + kCodeOffset), QByteArray(bytes + kDataOffset, length)};
}

bool CommandPacket::isWellFormed(const char *bytes, qsizetype size)
{
    if (size != kSize)
        return false;
    const qint32 length = qFromLittleEndian<qint32>(bytes + kLengthOffset);
    return qFromLittleEndian<quint32>(bytes) == kHead && qFromLittleEndian<quint32>(bytes + kTailOffset) == kTail
           && length >= 0 && length <= kDataSize;
}

QString CommandPacket::text() const
{
    return textUpToNul(data);
}

StationRecord CommandPacket::record() const
{
    QByteArray bytes = data.left(StationRecord::kSize);
    bytes.append(StationRecord::kSize - bytes.size(), '\0');
    return StationRecord::fromBytes(bytes.constData());
}

QString CommandPacket::textAfterRecord() const
{
    return textUpToNul(data.mid(StationRecord::kSize));
}

}  // namespace dbkeel
