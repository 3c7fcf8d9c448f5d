#include "tests/support/HostTestSystem.h"

#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <list>

namespace dbkeel::test {

namespace {

QTemporaryDir &newTemporaryDir()
{
    static std::list<QTemporaryDir> dirs;  // alive until the program ends
    return dirs.emplace_back();
}

QString hostCfgPath()
{
    return hostSystemDir() + QStringLiteral("/HostCfg.ini");
}

}  // namespace

QString folderWithLibrary(const QString &sourceFile, const QString &nameInDir)
{
    const QString dir = newTemporaryDir().path();
    EXPECT_TRUE(QFile::copy(buildBinDir() + QLatin1Char('/') + sourceFile, dir + QLatin1Char('/') + nameInDir))
        << sourceFile.toStdString();
    return dir;
}

QString hostSystemDir()
{
    static const QString dir = [] {
        const QString path = folderWithLibrary(QStringLiteral("libHostCfg.so"), QStringLiteral("libHostCfg.so"));
        qputenv("DBKEEL_SYSDIR", QFile::encodeName(path));
        return path;
    }();
    return dir;
}

HostLib &loadedHostLib()
{
    static const int loaded = hostLib().load(1, hostSystemDir());
    EXPECT_EQ(loaded, 1) << hostLib().errorString().toStdString();
    return hostLib();
}

void writeHostCfg(const QByteArray &gbkContent)
{
    writeFileBytes(hostCfgPath(), gbkContent);
}

void removeHostCfg()
{
    QFile::remove(hostCfgPath());
}

}  // namespace dbkeel::test
