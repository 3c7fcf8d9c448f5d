#include "tests/support/TestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QUuid>

#include <gtest/gtest.h>

namespace {

QProcessEnvironment withInstanceName(const QString &name)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBKEEL_INSTANCE"), name);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

void start(QProcess &process, const QString &program, const QString &name)
{
    process.setProcessEnvironment(withInstanceName(name));
    process.start(dbkeel::test::buildBinDir() + u'/' + program);
    ASSERT_TRUE(process.waitForStarted(5000)) << program.toStdString();
}

}  // namespace

TEST(SingleInstance, ALaterStartHandsOverToTheRunningCopyAndEnds)
{
    const QString name = QStringLiteral("dbkeel-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QProcess first;
    start(first, QStringLiteral("instance_probe"), name);
    ASSERT_TRUE(first.waitForReadyRead(5000));
    EXPECT_EQ(first.readLine().trimmed(), "first");

    // The program itself, started while the name is taken, hands over and ends at once.
    for (const QString &program : {QStringLiteral("instance_probe"), QStringLiteral("Dbkeel")}) {
        QProcess second;
        start(second, program, name);
        ASSERT_TRUE(second.waitForFinished(10000)) << program.toStdString();
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0) << program.toStdString();
        if (first.bytesAvailable() == 0) {
            ASSERT_TRUE(first.waitForReadyRead(5000));
        }
        EXPECT_EQ(first.readLine().trimmed(), "activated") << program.toStdString();
    }
    first.kill();
    first.waitForFinished(5000);

    // Once the first copy is gone (even killed), the next start is the running copy.
    QProcess again;
    start(again, QStringLiteral("instance_probe"), name);
    ASSERT_TRUE(again.waitForReadyRead(5000));
    EXPECT_EQ(again.readLine().trimmed(), "first");
    again.kill();
    again.waitForFinished(5000);
}
