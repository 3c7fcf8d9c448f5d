#pragma once
// The station computer's side of the command protocol: one request datagram in, at most one reply
// datagram out. Every reply carries the agent's own station record first. Requests that change the
// station are done only when its configuration allows them and they come from a console it obeys;
// one that was not done is answered with a chat message (1012) saying why, not with the usual reply.

#include "agent/AgentConfig.h"
#include "agent/AgentLog.h"
#include "agent/Reason.h"
#include "core/StationRecord.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>

#include <optional>

namespace dbkeel::agent {

class StationAgent {
public:
    StationAgent(const AgentConfig &config, AgentLog &log);

    // The reply to one datagram from `from`:`fromPort`; nullopt when none is due (malformed
    // datagrams, unknown codes, 1005 and 1012). A station-changing request not done gets a 1012.
    std::optional<QByteArray> handle(const QByteArray &datagram, const QHostAddress &from, quint16 fromPort);

    StationRecord ownRecord() const { return m_own; }
    // The console that last introduced itself with 1004.
    std::optional<StationRecord> console() const { return m_console; }

private:
    // A request that changes the station: how the log and how the console's chat name it.
    struct Deed {
        QString logged;
        QString shown;
    };

    CommandPacket reply(int code, const QByteArray &after = {}) const;
    // Runs `action` when `allowed` and `from` is a console it obeys, unless there is a `refusal`;
    // logs what it did, refused and why, or what it would have done. Nullopt when it was done, else
    // the chat line that tells the console it was not and why.
    template <typename Action>
    std::optional<QString> gated(bool allowed, const QHostAddress &from, const Deed &deed, Action action,
                                 const Reason &refusal = {});
    // True when no console list is configured or `from` is on it.
    bool obeys(const QHostAddress &from) const;
    QByteArray processList() const;

    AgentConfig m_config;
    AgentLog &m_log;
    QList<QHostAddress> m_obeyedConsoles;
    StationRecord m_own;
    std::optional<StationRecord> m_console;
};

}  // namespace dbkeel::agent
