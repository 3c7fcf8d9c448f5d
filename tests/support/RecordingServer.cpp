#include "tests/support/RecordingServer.h"

#include <QFile>
#include <QRegularExpression>

namespace dbkeel::test {

namespace {

QString unescaped(const QString &line)
{
    QString text;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) != u'\\' || i + 1 == line.size()) {
            text += line.at(i);
            continue;
        }
        const QChar next = line.at(++i);
        text += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
    }
    return text;
}

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The suite's file of recorded texts starts empty in each run of the test program.
void appendToSuite(const QByteArray &log)
{
    static bool started = false;
    QFile suite(QStringLiteral(DBKEEL_RECORDED_STATEMENTS));
    if (!suite.open(started ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    started = true;
    suite.write(log);
}

}  // namespace

RecordingServer::RecordingServer(const QString &version)
{
    qputenv("DBKEEL_RECORDER_LOG", m_dir.filePath(QStringLiteral("statements.log")).toLocal8Bit());
    qputenv("DBKEEL_RECORDER_SCRIPT", m_dir.filePath(QStringLiteral("script")).toLocal8Bit());
    qputenv("DBKEEL_RECORDER_VERSION", version.toLatin1());
}

RecordingServer::~RecordingServer()
{
    QFile log(m_dir.filePath(QStringLiteral("statements.log")));
    if (log.open(QIODevice::ReadOnly))
        appendToSuite(log.readAll());
}

QString RecordingServer::connectString() const
{
    return QStringLiteral("DRIVER=%1;").arg(QStringLiteral(DBKEEL_RECORDER_DRIVER));
}

QString RecordingServer::writeDataSource(const QString &name) const
{
    const QString path = m_dir.filePath(QStringLiteral("odbc.ini"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QStringLiteral("[%1]\nDriver = %2\n").arg(name, QStringLiteral(DBKEEL_RECORDER_DRIVER)).toUtf8());
    return path;
}

void RecordingServer::setScript(const QString &script)
{
    QFile file(m_dir.filePath(QStringLiteral("script")));
    if (file.open(QIODevice::WriteOnly))
        file.write(script.toUtf8());
}

QStringList RecordingServer::log() const
{
    QStringList lines;
    for (const QString &line : readLines(m_dir.filePath(QStringLiteral("statements.log"))))
        lines << unescaped(line);
    return lines;
}

QStringList RecordingServer::statements() const
{
    static const QRegularExpression statement(QStringLiteral("^(exec|prepare): "));
    QStringList texts;
    for (const QString &line : log())
        if (statement.match(line).hasMatch())
            texts << line.mid(line.indexOf(u' ') + 1);
    return texts;
}

void RecordingServer::clearLog()
{
    QFile log(m_dir.filePath(QStringLiteral("statements.log")));
    if (log.open(QIODevice::ReadOnly))
        appendToSuite(log.readAll());
    log.close();
    log.remove();
}

QStringList hostileValues()
{
    return {QStringLiteral("安检线"),
            QStringLiteral("1005"),
            QString(),
            QStringLiteral("O'Brien"),
            QStringLiteral("'; drop table hostile_marker; --"),
            QStringLiteral("50%_off"),
            QStringLiteral("[a]b]"),
            QStringLiteral("机动车😀"),
            QString(3000, QLatin1Char('x')),
            QStringLiteral("line\r\nbreak"),
            QStringLiteral("%10 %1"),
            QStringLiteral("a\\b\"c")};
}

}  // namespace dbkeel::test
