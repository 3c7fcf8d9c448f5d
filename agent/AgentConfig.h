#pragma once
// The station agent's settings: a profile file, then the command line on top of it.

#include <QString>
#include <QStringList>

#include <optional>

namespace dbkeel::agent {

// The actions that change the station; each one runs only when allowed.
struct Permissions {
    bool setClock = false;
    bool shutdown = false;
    bool restart = false;
    bool startProgram = false;
    bool endProcess = false;
};

struct AgentConfig {
    QString bindAddress = QStringLiteral("0.0.0.0");  // where the socket listens
    int port = 15000;
    QString ip;    // the address its record reports; the bind address when empty (127.0.0.1 for 0.0.0.0)
    QString name;  // the computer name its record reports; the host name when empty
    int kind = 0;
    QString logFile = QStringLiteral("dbkeel-agent.log");
    qint64 logMaxBytes = 1024 * 1024;  // the log moves to <log>.1 before it would grow past this; 0: no cap
    Permissions allowed;
    QStringList programFolders;  // absolute folders whose programs 1009 may start; none: nothing starts
    QStringList consoles;        // addresses whose state-changing requests it obeys; none: every address

    QString reportedIp() const;
    QString reportedName() const;
};

// Reads the arguments (without the program name); an error text when they are wrong, the text to
// print instead of running for --help and --version.
struct ParsedConfig {
    std::optional<AgentConfig> config;
    QString error;
    QString answer;

    static ParsedConfig failure(const QString &error) { return {std::nullopt, error, {}}; }
    static ParsedConfig answered(const QString &text) { return {std::nullopt, {}, text}; }
};
ParsedConfig parseArguments(const QStringList &arguments);

// The keys of section [AGENT] of a configuration file laid over `config`.
void readConfigFile(const QString &path, AgentConfig &config);

}  // namespace dbkeel::agent
