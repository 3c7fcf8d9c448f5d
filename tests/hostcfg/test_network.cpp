// Network channels and the port probe: the loaded library against plain Qt sockets on 127.0.0.1.

#include "tests/support/HostTestSystem.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QUdpSocket>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace dbkeel;
using dbkeel::test::loadedHostLib;

namespace {

constexpr int kChannel = 10;
constexpr int kPacketSize = 2072;
const QHostAddress kLoopback(QHostAddress::LocalHost);

QByteArray packet(char fill)
{
    QByteArray bytes(kPacketSize, fill);
    bytes[0] = 'H';
    bytes[kPacketSize - 1] = 'T';
    return bytes;
}

int freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::AnyIPv4, 0);
    return probe.localPort();
}

// Reads channel `channel` until a packet arrives or two seconds pass.
QByteArray readPacket(int channel = kChannel)
{
    QByteArray bytes(kPacketSize, '\0');
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 2000) {
        if (loadedHostLib().readNetData(channel, bytes.data(), kPacketSize) > 0)
            return bytes;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return {};
}

// Channel 10 opened on a free port and a plain peer socket on 127.0.0.1.
class ChannelTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_port = freeUdpPort();
        ASSERT_EQ(loadedHostLib().openNet(kChannel, 0, m_port, 9898), 1);
        ASSERT_TRUE(m_peer.bind(kLoopback, 0));
    }
    void TearDown() override { loadedHostLib().closeNet(kChannel); }

    void peerSends(const QByteArray &bytes) { ASSERT_EQ(m_peer.writeDatagram(bytes, kLoopback, m_port), bytes.size()); }

    QUdpSocket m_peer;
    int m_port = 0;
};

TEST_F(ChannelTest, PacketSentToTheOpenedPortIsReadWhole)
{
    peerSends(packet('a'));
    EXPECT_EQ(readPacket(), packet('a'));
}

TEST_F(ChannelTest, SentPacketArrivesWhole)
{
    const QByteArray sent = packet('b');
    EXPECT_EQ(loadedHostLib().sendNetData(kChannel, "127.0.0.1", m_peer.localPort(), sent.constData(), kPacketSize),
              kPacketSize);
    ASSERT_TRUE(m_peer.waitForReadyRead(2000));
    const QNetworkDatagram received = m_peer.receiveDatagram();
    EXPECT_EQ(received.data(), sent);
    EXPECT_EQ(received.senderPort(), m_port);
}

TEST_F(ChannelTest, DatagramsOfAnotherSizeAreDropped)
{
    peerSends(QByteArray(100, 's'));
    peerSends(QByteArray(kPacketSize + 1, 'l'));
    peerSends(packet('g'));
    EXPECT_EQ(readPacket(), packet('g'));

    QByteArray bytes(kPacketSize, '\0');
    EXPECT_EQ(loadedHostLib().readNetData(kChannel, bytes.data(), kPacketSize), 0);
}

TEST_F(ChannelTest, ReadWithNothingQueuedGivesNothingAfterItsBoundedWait)
{
    QByteArray bytes(kPacketSize, 'u');
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(loadedHostLib().readNetData(kChannel, bytes.data(), kPacketSize), 0);
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_EQ(bytes, QByteArray(kPacketSize, 'u'));
}

// A reader that sleeps in WaitNetData without a limit: a datagram or a WakeNet ends the wait at once,
// and a wake made before the wait is not lost.
TEST_F(ChannelTest, WaitEndsOnADatagramOrAWakeOnly)
{
    EXPECT_EQ(loadedHostLib().waitNetData(kChannel, 20), 0);  // nothing came

    peerSends(packet('w'));
    EXPECT_EQ(loadedHostLib().waitNetData(kChannel, -1), 1);
    EXPECT_EQ(readPacket(), packet('w'));

    EXPECT_EQ(loadedHostLib().wakeNet(kChannel), 1);  // nobody waits yet: the next wait ends at once
    EXPECT_EQ(loadedHostLib().waitNetData(kChannel, -1), 0);

    std::thread waker([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        loadedHostLib().wakeNet(kChannel);
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(loadedHostLib().waitNetData(kChannel, -1), 0);
    EXPECT_LT(clock.elapsed(), 5000);
    waker.join();
    EXPECT_EQ(loadedHostLib().waitNetData(kChannel, 0), 0) << "a wake ends one wait";
}

TEST_F(ChannelTest, ReopenOnThePortInUseFails)
{
    EXPECT_EQ(loadedHostLib().openNet(11, 0, m_port, 9898), 0);
    QUdpSocket taken;
    ASSERT_TRUE(taken.bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress));
    EXPECT_EQ(loadedHostLib().openNet(12, 0, taken.localPort(), 9898), 0);
}

TEST_F(ChannelTest, CloseAllClosesEveryChannel)
{
    const int otherPort = freeUdpPort();
    ASSERT_EQ(loadedHostLib().openNet(3, 0, otherPort, 9898), 1);
    EXPECT_EQ(loadedHostLib().closeNet(15), 1);

    const QByteArray bytes = packet('c');
    EXPECT_LT(loadedHostLib().sendNetData(kChannel, "127.0.0.1", m_port, bytes.constData(), kPacketSize), 0);
    EXPECT_LT(loadedHostLib().sendNetData(3, "127.0.0.1", m_port, bytes.constData(), kPacketSize), 0);
    QUdpSocket rebound;
    EXPECT_TRUE(rebound.bind(QHostAddress::AnyIPv4, m_port, QUdpSocket::DontShareAddress));
}

TEST_F(ChannelTest, ReadsOnOneThreadWhileAnotherSends)
{
    constexpr int kPackets = 300;
    std::atomic<int> received{0};
    std::atomic<bool> corrupt{false}, readerDone{false};
    std::thread reader([&] {
        QByteArray bytes(kPacketSize, '\0');
        QElapsedTimer clock;
        clock.start();
        while (received < kPackets && clock.elapsed() < 10000) {
            if (loadedHostLib().readNetData(kChannel, bytes.data(), kPacketSize) > 0) {
                corrupt = corrupt || bytes != packet(static_cast<char>('A' + received % 26));
                ++received;
            }
        }
        readerDone = true;
    });
    for (int sent = 0; sent < kPackets; ++sent) {
        while (sent - received > 16 && !readerDone)  // stay within the socket's receive buffer
            std::this_thread::yield();
        const QByteArray bytes = packet(static_cast<char>('A' + sent % 26));
        EXPECT_EQ(loadedHostLib().sendNetData(kChannel, "127.0.0.1", m_port, bytes.constData(), kPacketSize),
                  kPacketSize);
    }
    reader.join();
    EXPECT_EQ(received, kPackets);
    EXPECT_FALSE(corrupt);
}

struct BadCallCase {
    const char *name;
    int (*call)();
};

class BadCallTest : public testing::TestWithParam<BadCallCase> {};

TEST_P(BadCallTest, FailsWithoutEffect)
{
    EXPECT_LE(GetParam().call(), 0);
}

const char kData[kPacketSize] = {};

INSTANTIATE_TEST_SUITE_P(
    Network, BadCallTest,
    testing::Values(
        BadCallCase{"openUnknownMode", [] { return loadedHostLib().openNet(kChannel, 1, freeUdpPort(), 9898); }},
        BadCallCase{"openChannelOutOfRange", [] { return loadedHostLib().openNet(16, 0, freeUdpPort(), 9898); }},
        BadCallCase{"openPortOutOfRange", [] { return loadedHostLib().openNet(kChannel, 0, 70000, 9898); }},
        BadCallCase{"sendOnClosedChannel",
                    [] { return loadedHostLib().sendNetData(7, "127.0.0.1", 9, kData, kPacketSize); }},
        BadCallCase{"readOnClosedChannel",
                    [] {
                        char bytes[kPacketSize];
                        return loadedHostLib().readNetData(7, bytes, kPacketSize);
                    }},
        BadCallCase{"closeClosedChannel", [] { return loadedHostLib().closeNet(7); }},
        BadCallCase{"waitOnClosedChannel", [] { return loadedHostLib().waitNetData(7, -1); }},
        BadCallCase{"wakeChannelOutOfRange", [] { return loadedHostLib().wakeNet(16); }},
        BadCallCase{"sendToBadAddress",
                    [] {
                        const int port = freeUdpPort();
                        loadedHostLib().openNet(kChannel, 0, port, 9898);
                        const int result = loadedHostLib().sendNetData(kChannel, "999.1.1.1", port, kData, kPacketSize);
                        loadedHostLib().closeNet(kChannel);
                        return result;
                    }}),
    [](const testing::TestParamInfo<BadCallCase> &test) { return test.param.name; });

TEST(ScanPortTest, AnswersOnlyForAListeningPort)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(kLoopback, 0));
    const int listening = server.serverPort();
    EXPECT_EQ(loadedHostLib().scanPort("127.0.0.1", listening), 1);
    EXPECT_EQ(loadedHostLib().scanPort("localhost", listening), 1);

    server.close();
    EXPECT_EQ(loadedHostLib().scanPort("127.0.0.1", listening), 0);
    EXPECT_LT(loadedHostLib().scanPort("", listening), 0);
    EXPECT_LT(loadedHostLib().scanPort("127.0.0.1", 0), 0);
}

}  // namespace
