#pragma once
// The station computer's side of the command protocol: one request datagram in, at most one reply
// datagram out. Every reply carries the agent's own station record first. Requests that change the
// station are done only when its configuration allows them and they come from a console it obeys.

#include "agent/AgentConfig.h"
#include "agent/AgentLog.h"
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
    // datagrams, unknown codes, 1005 and 1012).
    std::optional<QByteArray> handle(const QByteArray &datagram, const QHostAddress &from, quint16 fromPort);

    StationRecord ownRecord() const { return m_own; }
    // The console that last introduced itself with 1004.
    std::optional<StationRecord> console() const { return m_console; }

private:
    CommandPacket reply(int code, const QByteArray &after = {}) const;
    // Runs `action` when `allowed` and `from` is a console it obeys, unless there is a `refusal`;
    // logs what it did, refused and why, or what it would have done.
    template <typename Action>
    void gated(bool allowed, const QHostAddress &from, const QString &what, Action action, const QString &refusal = {});
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
