// The station record and command packet against byte images written out by hand.

#include "core/StationRecord.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace dbkeel {
namespace {

QByteArray zeros(int n)
{
    return QByteArray(n, '\0');
}

QByteArray padded(const QByteArray &bytes, int width)
{
    return bytes + zeros(width - int(bytes.size()));
}

// kind 1, "192.168.0.3", "15000", "工位一"
const QByteArray kRecordImage = QByteArray::fromHex("0100") + padded("192.168.0.3", 18) + padded("15000", 12)
                                + padded(QByteArray::fromHex("b9a4cebbd2bb"), 50);

TEST(StationRecordTest, EncodesTheFixedImage)
{
    const StationRecord record{1, QStringLiteral("192.168.0.3"), QStringLiteral("15000"), QStringLiteral("工位一")};
    EXPECT_EQ(record.toBytes().toHex(), kRecordImage.toHex());
}

TEST(StationRecordTest, DecodesTheFixedImage)
{
    const StationRecord record = StationRecord::fromBytes(kRecordImage.constData());
    EXPECT_EQ(record.kind, 1);
    EXPECT_EQ(record.ip, QStringLiteral("192.168.0.3"));
    EXPECT_EQ(record.port, QStringLiteral("15000"));
    EXPECT_EQ(record.name, QStringLiteral("工位一"));
}

TEST(StationRecordTest, DefaultsAreTheConsolesRemoteRecord)
{
    const QByteArray expected = zeros(2) + padded("127.0.0.1", 18) + padded("15000", 12)
                                + padded(QByteArray::fromHex("d4b6b3cc"), 50);
    EXPECT_EQ(StationRecord{}.toBytes().toHex(), expected.toHex());
}

TEST(StationRecordTest, LongTextsAreCutInsideTheirWidthAtACharacter)
{
    StationRecord record;
    record.ip = QStringLiteral("1234567890.1234567890");
    record.name = QString(30, QChar(u'名'));  // 60 GBK bytes for a 50-byte field
    const QByteArray bytes = record.toBytes();
    ASSERT_EQ(bytes.size(), StationRecord::kSize);
    EXPECT_EQ(bytes[StationRecord::kIpOffset + 17], '\0');
    EXPECT_EQ(bytes[StationRecord::kSize - 1], '\0');
    const StationRecord back = StationRecord::fromBytes(bytes.constData());
    EXPECT_EQ(back.ip, QStringLiteral("1234567890.123456"));
    EXPECT_EQ(back.name, QString(24, QChar(u'名')));  // 48 bytes: the 25th would end at byte 50
}

TEST(StationRecordTest, AFieldWithoutItsNulEndsAtItsWidth)
{
    QByteArray bytes = kRecordImage;
    bytes.replace(StationRecord::kPortOffset, 12, "123456789012");
    EXPECT_EQ(StationRecord::fromBytes(bytes.constData()).port, QStringLiteral("123456789012"));
    EXPECT_EQ(StationRecord::fromBytes(bytes.constData()).name, QStringLiteral("工位一"));
}

// code 1003, data "测试" (GBK b2e2 cad4)
const QByteArray kPacketImage = QByteArray::fromHex("55aaaa55") + zeros(8) + QByteArray::fromHex("eb030000")
                                + QByteArray::fromHex("04000000") + padded(QByteArray::fromHex("b2e2cad4"), 2048)
                                + QByteArray::fromHex("eeffeeff");

TEST(CommandPacketTest, EncodesTheFixedImage)
{
    EXPECT_EQ(CommandPacket::withText(1003, QStringLiteral("测试")).toBytes().toHex(), kPacketImage.toHex());
}

TEST(CommandPacketTest, DecodesTheFixedImage)
{
    const std::optional<CommandPacket> packet = CommandPacket::fromBytes(kPacketImage.constData(), kPacketImage.size());
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->code, 1003);
    EXPECT_EQ(packet->data, QByteArray::fromHex("b2e2cad4"));
    EXPECT_EQ(packet->text(), QStringLiteral("测试"));
    EXPECT_TRUE(CommandPacket::isWellFormed(kPacketImage.constData(), kPacketImage.size()));
}

TEST(CommandPacketTest, ARecordAndATextAfterIt)
{
    const CommandPacket packet = CommandPacket::withRecord(1011, StationRecord::fromBytes(kRecordImage.constData()),
                                                           QByteArray("2,a.exe,b.exe\0", 14));
    const QByteArray bytes = packet.toBytes();
    EXPECT_EQ(bytes.mid(CommandPacket::kLengthOffset, 4).toHex(), "60000000");  // 82 + 14
    EXPECT_EQ(bytes.mid(CommandPacket::kDataOffset, 82).toHex(), kRecordImage.toHex());
    const CommandPacket back = *CommandPacket::fromBytes(bytes.constData(), bytes.size());
    EXPECT_EQ(back.record().name, QStringLiteral("工位一"));
    EXPECT_EQ(back.textAfterRecord(), QStringLiteral("2,a.exe,b.exe"));
}

TEST(CommandPacketTest, ATextLongerThanTheDataAreaKeepsItsNul)
{
    const CommandPacket packet = CommandPacket::withText(1012, QString(1500, QChar(u'话')));  // 3000 bytes
    EXPECT_EQ(packet.data.size(), 2046);  // 1023 characters; 2047 would split one
    EXPECT_EQ(packet.toBytes()[CommandPacket::kDataOffset + 2047], '\0');
}

TEST(CommandPacketTest, LyingLengthsAreClampedToTheDataArea)
{
    struct Case {
        qint32 length;
        int expected;
    };
    for (const Case c : {Case{-1, 0}, Case{INT32_MIN, 0}, Case{2049, 2048}, Case{INT32_MAX, 2048}, Case{2048, 2048}}) {
        QByteArray bytes = kPacketImage;
        qToLittleEndian<qint32>(c.length, bytes.data() + CommandPacket::kLengthOffset);
        const std::optional<CommandPacket> packet = CommandPacket::fromBytes(bytes.constData(), bytes.size());
        ASSERT_TRUE(packet) << c.length;
        EXPECT_EQ(packet->data.size(), c.expected) << c.length;
        EXPECT_EQ(packet->text(), c.expected == 0 ? QString() : QStringLiteral("测试")) << c.length;
        EXPECT_EQ(CommandPacket::isWellFormed(bytes.constData(), bytes.size()), c.length == 2048) << c.length;
    }
}

TEST(CommandPacketTest, OnlyTheExactSizeIsAPacketAndOnlyHeadAndTailMakeItWellFormed)
{
    for (const int size : {0, 20, 2071, 2073, 4144}) {
        const QByteArray bytes = padded(kPacketImage, std::max(size, 2072)).left(size);
        EXPECT_FALSE(CommandPacket::fromBytes(bytes.constData(), bytes.size())) << size;
        EXPECT_FALSE(CommandPacket::isWellFormed(bytes.constData(), bytes.size())) << size;
    }
    for (const int offset : {0, 3, 2068, 2071}) {
        QByteArray bytes = kPacketImage;
        bytes[offset] = char(bytes[offset] ^ 0x01);
        EXPECT_TRUE(CommandPacket::fromBytes(bytes.constData(), bytes.size())) << offset;  // the console does not look
        EXPECT_FALSE(CommandPacket::isWellFormed(bytes.constData(), bytes.size())) << offset;
    }
}

}  // namespace
}  // namespace dbkeel
