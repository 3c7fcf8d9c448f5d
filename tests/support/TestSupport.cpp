#include "tests/support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace dbkeel::test {

QString buildBinDir()
{
    return qEnvironmentVariable("DBKEEL_BUILD_BIN");
}
QString sourceDir()
{
    return qEnvironmentVariable("DBKEEL_SOURCE_DIR", QStringLiteral(DBKEEL_SOURCE_TREE));
}

QString schemaFile(const QString &name)
{
    return sourceDir() + QStringLiteral("/schema/") + name;
}
QString schemaText(const QString &name)
{
    return QString::fromUtf8(readFileBytes(schemaFile(name)));
}

QString sqliteConnectString(const QString &path, const QString &options)
{
    return QStringLiteral("DRIVER=SQLite3;Database=%1;").arg(path) + options;
}

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
        return;
    }
    file.write(bytes);
}

void runMakeDemoDb(const QStringList &arguments)
{
    QProcess script;
    script.start(sourceDir() + QStringLiteral("/scripts/make-demo-db"), arguments);
    ASSERT_TRUE(script.waitForFinished(60000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().constData();
}

QString processDemoFolder()
{
    static QTemporaryDir dir;
    static const bool once = [] {
        qputenv("ODBCINI", dir.filePath(QStringLiteral("odbc.ini")).toUtf8());
        qputenv("DBKEEL_SYSDIR", dir.filePath(QStringLiteral("system")).toUtf8());
        return true;
    }();
    Q_UNUSED(once);
    return dir.path();
}

}  // namespace dbkeel::test
