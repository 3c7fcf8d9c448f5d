#pragma once
// The station computer's side of the command protocol: one request datagram in, at most one reply
// datagram out. Every reply carries the agent's own station record first.

#include "AgentConfig.h"
#include "AgentLog.h"
#include "StationRecord.h"

#include <QByteArray>

#include <optional>

namespace dbkeel::agent {

class StationAgent {
public:
    StationAgent(const AgentConfig &config, AgentLog &log);

    // The reply to one datagram from `sender`; nullopt when none is due (malformed datagrams,
    // unknown codes, 1005 and 1012).
    std::optional<QByteArray> handle(const QByteArray &datagram, const QString &sender);

    StationRecord ownRecord() const { return m_own; }
    // The console that last introduced itself with 1004.
    std::optional<StationRecord> console() const { return m_console; }

private:
    CommandPacket reply(int code, const QByteArray &after = {}) const;
    // Runs `action` when `allowed`; logs what it did, or what it would have done.
    template <typename Action>
    void gated(bool allowed, const QString &what, Action action);
    QByteArray processList() const;

    AgentConfig m_config;
    AgentLog &m_log;
    StationRecord m_own;
    std::optional<StationRecord> m_console;
};

}  // namespace dbkeel::agent
