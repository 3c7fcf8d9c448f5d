#include "core/AppLog.h"
#include "platform/Gbk.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace dbkeel::test {
namespace {

QString header(int counter, int bytes)
{
    return QString::asprintf("=======%06d==L[%04d]======\r\n", counter, bytes);
}

TEST(LogBuffer, NewestEntryOnTopWithHeaderAndStar)
{
    LogBuffer log;
    log.add(QStringLiteral("版本:1.0"), true);            // 4 + 4 GBK bytes
    log.add(QStringLiteral("连接数据库失败!!!"), false);  // 14 + 3
    EXPECT_EQ(log.counter(), 2);
    EXPECT_EQ(log.text(),
              header(2, 17) + QStringLiteral("★连接数据库失败!!!\r\n") + header(1, 8) + QStringLiteral("版本:1.0\r\n"));
}

TEST(LogBuffer, ResetDropsEarlierEntriesAndRestartsNumbering)
{
    // The first entry leaves 30 + 9000 + 2 bytes; a second entry of b bytes makes a body of b + 9034.
    const QString first(9000, QLatin1Char('a'));
    struct Case {
        int bytes;
        bool keepsEarlier;
    };
    for (const Case c : {Case{90965, true}, Case{90966, false}}) {
        LogBuffer log;
        log.add(first, true);
        const QString second(c.bytes, QLatin1Char('b'));
        log.add(second, true);
        // The entry that overflows still carries its running number.
        const QString newest = header(2, c.bytes) + second + QStringLiteral("\r\n");
        EXPECT_EQ(log.text(), c.keepsEarlier ? newest + header(1, 9000) + first + QStringLiteral("\r\n") : newest)
            << c.bytes;
        EXPECT_EQ(log.counter(), c.keepsEarlier ? 2 : 0);
        if (!c.keepsEarlier) {
            log.add(QStringLiteral("next"), false);
            EXPECT_EQ(log.text(), header(1, 4) + QStringLiteral("★next\r\n") + newest);
        }
    }
}

TEST(LogBuffer, LimitCountsGbkBytesNotCharacters)
{
    // 33000 Chinese characters are 66000 GBK bytes: two of them exceed the limit, though only 66000 characters.
    LogBuffer log;
    const QString wide(33000, QChar(0x4E2D));
    log.add(wide, true);
    log.add(wide, true);
    EXPECT_EQ(log.counter(), 0);
    EXPECT_EQ(log.text(), header(2, 66000) + wide + QStringLiteral("\r\n"));
}

TEST(AddLog, AnnouncesEveryEntryOnTheHub)
{
    QSignalSpy spy(&logHub(), &LogHub::entryAdded);
    AddLog(QStringLiteral("a"), true);
    AddLog(QStringLiteral("b"), false);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).toString(), QStringLiteral("b"));
    EXPECT_FALSE(spy.at(1).at(1).toBool());
}

}  // namespace
}  // namespace dbkeel::test
