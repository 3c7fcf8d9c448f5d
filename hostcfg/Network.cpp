// Network channels (one UDP socket each), the local address list and the TCP
// port probe.

#include "hostcfg/HostCfg.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

namespace {

constexpr int kMaxDatagram = 65507;
constexpr int kReceiveBufferBytes = 1 << 20;  // room for bursts of replies from many stations
constexpr int kSendWaitMs = 100;
constexpr int kReadWaitMs = 50;  // how long a read waits for a datagram when none is queued
constexpr int kScanTimeoutMs = 1000;

bool validChannel(int channel)
{
    return channel >= 0 && channel < HOSTCFG_CHANNEL_COUNT;
}
bool validPort(int port)
{
    return port > 0 && port <= 65535;
}

void makeNonBlocking(int fd)
{
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);  // programs started by the caller do not inherit it
}

sockaddr_in ipv4Address(in_addr_t address, int port)
{
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr.s_addr = address;
    socketAddress.sin_port = htons(static_cast<uint16_t>(port));
    return socketAddress;
}

int openUdpSocket(int localPort)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return -1;
    makeNonBlocking(fd);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &kReceiveBufferBytes, sizeof kReceiveBufferBytes);
    const sockaddr_in local = ipv4Address(htonl(INADDR_ANY), localPort);
    if (bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// The sockets of the channels. Opening and closing take the lock alone;
// sends and reads share it, so the receive loop reads while another thread sends.
// A read waiting for a datagram holds the shared lock; opening and closing first
// raise the wake signal, which ends every such wait, so they never wait for one.
class Channels {
public:
    Channels() : m_wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK | EFD_SEMAPHORE))
    {
        m_sockets.fill(-1);
        for (int &wake : m_readerWakes)
            wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    }

    bool open(int channel, int localPort)
    {
        const Exclusive lock(*this);
        closeLocked(channel);
        m_sockets[channel] = openUdpSocket(localPort);
        return m_sockets[channel] >= 0;
    }

    bool close(int channel)
    {
        const Exclusive lock(*this);
        return closeLocked(channel);
    }

    int closeAll()
    {
        const Exclusive lock(*this);
        int closed = 0;
        for (int channel = 0; channel < HOSTCFG_CHANNEL_COUNT; ++channel)
            closed += closeLocked(channel) ? 1 : 0;
        return closed;
    }

    // Runs `use` with the channel's socket while it cannot be closed; -1 when not open.
    template <typename Use>
    int withSocket(int channel, Use use)
    {
        const std::shared_lock lock(m_mutex);
        return m_sockets[channel] < 0 ? -1 : use(m_sockets[channel]);
    }

    // Waits up to `timeoutMs` for a datagram on `fd`, a socket used inside withSocket; false
    // when none came, or sooner when a channel is being opened or closed.
    bool waitReadable(int fd, int timeoutMs) const
    {
        std::array<pollfd, 2> watched{{{fd, POLLIN, 0}, {m_wake, POLLIN, 0}}};
        return poll(watched.data(), watched.size(), timeoutMs) > 0 && (watched[0].revents & POLLIN);
    }

    // As waitReadable, and ended at once by wakeReader(channel), also by one made before the wait.
    bool waitReadableOrWoken(int channel, int fd, int timeoutMs) const
    {
        const int readerWake = m_readerWakes[channel];
        std::array<pollfd, 3> watched{{{fd, POLLIN, 0}, {m_wake, POLLIN, 0}, {readerWake, POLLIN, 0}}};
        const bool ready = poll(watched.data(), watched.size(), timeoutMs) > 0;
        uint64_t wakes = 0;
        if (ready && (watched[2].revents & POLLIN) && read(readerWake, &wakes, sizeof wakes) > 0)
            return false;
        return ready && (watched[0].revents & POLLIN);
    }

    void wakeReader(int channel) const
    {
        const uint64_t one = 1;
        (void)!write(m_readerWakes[channel], &one, sizeof one);
    }

private:
    // The exclusive lock, taken after raising the wake signal, which is lowered before the lock
    // is given back. The signal is a semaphore counting the openings and closings under way.
    class Exclusive {
    public:
        explicit Exclusive(Channels &channels) : m_channels(channels)
        {
            const uint64_t one = 1;
            (void)!write(m_channels.m_wake, &one, sizeof one);
            m_channels.m_mutex.lock();
        }
        ~Exclusive()
        {
            uint64_t one = 0;
            (void)!read(m_channels.m_wake, &one, sizeof one);
            m_channels.m_mutex.unlock();
        }
        Exclusive(const Exclusive &) = delete;
        Exclusive &operator=(const Exclusive &) = delete;

    private:
        Channels &m_channels;
    };

    bool closeLocked(int channel)
    {
        if (m_sockets[channel] < 0)
            return false;
        ::close(m_sockets[channel]);
        m_sockets[channel] = -1;
        return true;
    }

    const int m_wake;  // an eventfd; readable while an opening or closing waits for the lock
    std::array<int, HOSTCFG_CHANNEL_COUNT> m_readerWakes;  // eventfds; readable after a WakeNet
    std::shared_mutex m_mutex;
    std::array<int, HOSTCFG_CHANNEL_COUNT> m_sockets;
};

Channels &channels()
{
    static Channels instance;
    return instance;
}

int sendDatagram(int fd, const sockaddr_in &to, const char *data, int length)
{
    for (;;) {
        const ssize_t sent = sendto(fd, data, static_cast<size_t>(length), 0, reinterpret_cast<const sockaddr *>(&to),
                                    sizeof to);
        if (sent >= 0)
            return static_cast<int>(sent);
        if (errno == EINTR)
            continue;
        pollfd writable{fd, POLLOUT, 0};
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || poll(&writable, 1, kSendWaitMs) <= 0)
            return 0;
    }
}

// Takes queued datagrams until one of exactly `length` bytes; others are dropped.
int receiveDatagram(int fd, char *data, int length)
{
    thread_local std::vector<char> datagram(kMaxDatagram + 1);
    for (;;) {
        const ssize_t received = recv(fd, datagram.data(), datagram.size(), 0);
        if (received < 0 && errno == EINTR)
            continue;
        if (received < 0)
            return 0;
        if (received == length) {
            std::memcpy(data, datagram.data(), static_cast<size_t>(length));
            return length;
        }
    }
}

// ---- local addresses

std::vector<std::string> localIpv4Addresses()
{
    std::vector<std::string> interfaces, loopback{"127.0.0.1"};
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) == 0) {
        for (const ifaddrs *entry = list; entry; entry = entry->ifa_next) {
            if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !(entry->ifa_flags & IFF_UP))
                continue;
            char text[INET_ADDRSTRLEN] = {};
            inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in *>(entry->ifa_addr)->sin_addr, text, sizeof text);
            (entry->ifa_flags & IFF_LOOPBACK ? loopback : interfaces).push_back(text);
        }
        freeifaddrs(list);
    }
    for (const std::string &address : loopback)
        if (std::find(interfaces.begin(), interfaces.end(), address) == interfaces.end())
            interfaces.push_back(address);
    return interfaces;
}

// ---- port probe

bool resolveIpv4(const char *host, int port, sockaddr_in &out)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    char service[8];
    std::snprintf(service, sizeof service, "%d", port);
    addrinfo *found = nullptr;
    if (getaddrinfo(host, service, &hints, &found) != 0 || !found)
        return false;
    std::memcpy(&out, found->ai_addr, sizeof out);
    freeaddrinfo(found);
    return true;
}

bool answersWithin(const sockaddr_in &server, int timeoutMs)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    makeNonBlocking(fd);
    bool answered = connect(fd, reinterpret_cast<const sockaddr *>(&server), sizeof server) == 0;
    if (!answered && errno == EINPROGRESS) {
        pollfd connected{fd, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        answered = poll(&connected, 1, timeoutMs) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0
                   && error == 0;
    }
    close(fd);
    return answered;
}

}  // namespace

extern "C" {

int OpenNet(int channel, int mode, int localPort, int /*remotePort: every send names its own*/)
{
    if (!validChannel(channel) || mode != 0 || !validPort(localPort))
        return 0;
    return channels().open(channel, localPort) ? 1 : 0;
}

int CloseNet(int channel)
{
    if (channel == HOSTCFG_CHANNEL_ALL) {
        channels().closeAll();
        return 1;
    }
    if (!validChannel(channel))
        return -1;
    return channels().close(channel) ? 1 : 0;
}

int SendNetData(int channel, const char *ip, int port, const char *data, int length)
{
    in_addr address{};
    if (!validChannel(channel) || !ip || inet_pton(AF_INET, ip, &address) != 1 || !validPort(port) || !data
        || length <= 0 || length > kMaxDatagram)
        return -1;
    const sockaddr_in to = ipv4Address(address.s_addr, port);
    return channels().withSocket(channel, [&](int fd) { return sendDatagram(fd, to, data, length); });
}

int ReadNetData(int channel, char *data, int length)
{
    if (!validChannel(channel) || !data || length <= 0)
        return -1;
    return channels().withSocket(channel, [&](int fd) {
        const int received = receiveDatagram(fd, data, length);
        if (received == 0 && channels().waitReadable(fd, kReadWaitMs))
            return receiveDatagram(fd, data, length);
        return received;
    });
}

int WaitNetData(int channel, int timeoutMs)
{
    if (!validChannel(channel))
        return -1;
    return channels().withSocket(channel, [&](int fd) {
        return channels().waitReadableOrWoken(channel, fd, timeoutMs < 0 ? -1 : timeoutMs) ? 1 : 0;
    });
}

int WakeNet(int channel)
{
    if (!validChannel(channel))
        return -1;
    channels().wakeReader(channel);
    return 1;
}

int GetHostIP(char *record)
{
    if (!record)
        return -1;
    std::memset(record, 0, HOSTCFG_IP_RECORD_SIZE);
    const std::vector<std::string> addresses = localIpv4Addresses();
    const int32_t count = static_cast<int32_t>(std::min<size_t>(addresses.size(), HOSTCFG_IP_MAX));
    std::memcpy(record, &count, sizeof count);
    for (int i = 0; i < count; ++i)
        std::strncpy(record + 4 + HOSTCFG_IP_SIZE * i, addresses[static_cast<size_t>(i)].c_str(), HOSTCFG_IP_SIZE - 1);
    char *name = record + HOSTCFG_IP_NAME_OFFSET;
    if (gethostname(name, HOSTCFG_IP_NAME_SIZE - 1) != 0)
        name[0] = '\0';
    name[HOSTCFG_IP_NAME_SIZE - 1] = '\0';
    return count;
}

int ScanPort(const char *host, int port)
{
    sockaddr_in server{};
    if (!host || *host == '\0' || !validPort(port) || !resolveIpv4(host, port, server))
        return -1;
    return answersWithin(server, kScanTimeoutMs) ? 1 : 0;
}

}  // extern "C"
