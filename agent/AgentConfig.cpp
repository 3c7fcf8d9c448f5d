#include "agent/AgentConfig.h"

#include "platform/Profile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QHostInfo>

namespace dbkeel::agent {

namespace {

const QString kSection = QStringLiteral("AGENT");

struct PermissionKey {
    const char *option;  // command-line flag and, upper-cased without dashes, the file's key
    bool Permissions::*field;
};

constexpr PermissionKey kPermissionKeys[] = {
    {"allow-clock", &Permissions::setClock},  {"allow-shutdown", &Permissions::shutdown},
    {"allow-restart", &Permissions::restart}, {"allow-start", &Permissions::startProgram},
    {"allow-end", &Permissions::endProcess},
};

QString fileKey(const char *option)
{
    return QString::fromLatin1(option).remove(QLatin1Char('-')).toUpper();
}

bool validPort(qint64 port)
{
    return port >= 1 && port <= 65535;
}

// `text` as a whole number; `invalid` when it is not one.
qint64 numberOr(const QString &text, qint64 invalid)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? value : invalid;
}

// The items of `;`-separated lists, trimmed, empty ones dropped.
QStringList listItems(const QStringList &values)
{
    QStringList items;
    for (const QString &value : values) {
        for (const QString &item : value.split(QLatin1Char(';'))) {
            if (!item.trimmed().isEmpty())
                items.append(item.trimmed());
        }
    }
    return items;
}

// What is wrong with the settings; empty when nothing is.
QString settingsProblem(const AgentConfig &config)
{
    if (!validPort(config.port))
        return QStringLiteral("the port must be a number from 1 to 65535");
    if (QHostAddress(config.bindAddress).isNull())
        return QStringLiteral("not an address to listen on: %1").arg(config.bindAddress);
    if (config.logMaxBytes < 0)
        return QStringLiteral("the log cap must be a number of bytes (0 for none)");
    for (const QString &folder : config.programFolders) {
        if (!QDir::isAbsolutePath(folder))
            return QStringLiteral("a program folder must be an absolute path: %1").arg(folder);
        if (!QFileInfo(folder).isDir())
            return QStringLiteral("not a program folder: %1").arg(folder);
    }
    for (const QString &console : config.consoles) {
        if (QHostAddress(console).isNull())
            return QStringLiteral("not a console address: %1").arg(console);
    }
    return {};
}

}  // namespace

QString AgentConfig::reportedIp() const
{
    if (!ip.isEmpty())
        return ip;
    return QHostAddress(bindAddress) == QHostAddress::AnyIPv4 ? QStringLiteral("127.0.0.1") : bindAddress;
}

QString AgentConfig::reportedName() const
{
    return name.isEmpty() ? QHostInfo::localHostName() : name;
}

void readConfigFile(const QString &path, AgentConfig &config)
{
    ProfileFile file(path);
    config.bindAddress = file.readString(kSection, QStringLiteral("BIND"), config.bindAddress, 64);
    config.port = file.readInt(kSection, QStringLiteral("PORT"), config.port);
    config.ip = file.readString(kSection, QStringLiteral("IP"), config.ip, 18);
    config.name = file.readString(kSection, QStringLiteral("NAME"), config.name, 50);
    config.kind = file.readInt(kSection, QStringLiteral("KIND"), config.kind);
    config.logFile = file.readString(kSection, QStringLiteral("LOG"), config.logFile, 1024);
    if (const QString logMax = file.readString(kSection, QStringLiteral("LOGMAX"), QString(), 32); !logMax.isEmpty())
        config.logMaxBytes = numberOr(logMax, -1);
    const QString separator = QStringLiteral(";");
    config.programFolders = listItems(
        {file.readString(kSection, QStringLiteral("PROGRAMDIRS"), config.programFolders.join(separator), 4096)});
    config.consoles = listItems(
        {file.readString(kSection, QStringLiteral("CONSOLES"), config.consoles.join(separator), 1024)});
    for (const PermissionKey &key : kPermissionKeys)
        config.allowed.*key.field = file.readInt(kSection, fileKey(key.option), config.allowed.*key.field) != 0;
}

ParsedConfig parseArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption configOption(QStringLiteral("config"), QStringLiteral("Configuration file."),
                                          QStringLiteral("file"));
    const QCommandLineOption bindOption(QStringLiteral("bind"), QStringLiteral("Address to listen on."),
                                        QStringLiteral("address"));
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("UDP port to listen on."),
                                        QStringLiteral("port"));
    const QCommandLineOption ipOption(QStringLiteral("ip"), QStringLiteral("Address reported in replies."),
                                      QStringLiteral("address"));
    const QCommandLineOption nameOption(QStringLiteral("name"), QStringLiteral("Computer name reported in replies."),
                                        QStringLiteral("name"));
    const QCommandLineOption kindOption(QStringLiteral("kind"), QStringLiteral("Kind reported in replies."),
                                        QStringLiteral("kind"));
    const QCommandLineOption logOption(QStringLiteral("log"), QStringLiteral("Log file."), QStringLiteral("file"));
    const QCommandLineOption logMaxOption(QStringLiteral("log-max"),
                                          QStringLiteral("Log size in bytes at which it moves to <log>.1 (0: no cap)."),
                                          QStringLiteral("bytes"));
    const QCommandLineOption programDirOption(QStringLiteral("program-dir"),
                                              QStringLiteral(
                                                  "Folder whose programs 1009 may start (repeatable or ;-separated)."),
                                              QStringLiteral("folder"));
    const QCommandLineOption consoleOption(
        QStringLiteral("console"),
        QStringLiteral("Console address whose state-changing requests are obeyed (repeatable or ;-separated)."),
        QStringLiteral("address"));
    parser.addOptions({configOption, bindOption, portOption, ipOption, nameOption, kindOption, logOption, logMaxOption,
                       programDirOption, consoleOption});
    QList<QCommandLineOption> permissionOptions;
    for (const PermissionKey &key : kPermissionKeys)
        permissionOptions.append(
            QCommandLineOption(QString::fromLatin1(key.option), QStringLiteral("Allow this action.")));
    parser.addOptions(permissionOptions);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    if (!parser.parse(QStringList{QStringLiteral("dbkeel-agent")} + arguments))
        return ParsedConfig::failure(parser.errorText());
    if (parser.isSet(helpOption))
        return ParsedConfig::answered(parser.helpText());
    if (parser.isSet(versionOption))
        return ParsedConfig::answered(QStringLiteral("dbkeel-agent %1\n").arg(QCoreApplication::applicationVersion()));
    if (!parser.positionalArguments().isEmpty())
        return ParsedConfig::failure(
            QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));

    AgentConfig config;
    if (parser.isSet(configOption)) {
        const QString path = parser.value(configOption);
        if (!QFileInfo(path).isFile())
            return ParsedConfig::failure(QStringLiteral("configuration file not found: %1").arg(path));
        readConfigFile(path, config);
    }
    if (parser.isSet(bindOption))
        config.bindAddress = parser.value(bindOption);
    if (parser.isSet(portOption)) {
        const qint64 port = numberOr(parser.value(portOption), 0);
        config.port = validPort(port) ? int(port) : 0;
    }
    if (parser.isSet(ipOption))
        config.ip = parser.value(ipOption);
    if (parser.isSet(nameOption))
        config.name = parser.value(nameOption);
    if (parser.isSet(kindOption))
        config.kind = parser.value(kindOption).toInt();
    if (parser.isSet(logOption))
        config.logFile = parser.value(logOption);
    if (parser.isSet(logMaxOption))
        config.logMaxBytes = numberOr(parser.value(logMaxOption), -1);
    if (parser.isSet(programDirOption))
        config.programFolders = listItems(parser.values(programDirOption));
    if (parser.isSet(consoleOption))
        config.consoles = listItems(parser.values(consoleOption));
    for (int i = 0; i < permissionOptions.size(); ++i) {
        if (parser.isSet(permissionOptions.at(i)))
            config.allowed.*kPermissionKeys[i].field = true;
    }

    if (const QString problem = settingsProblem(config); !problem.isEmpty())
        return ParsedConfig::failure(problem);
    return {config, {}, {}};
}

}  // namespace dbkeel::agent
