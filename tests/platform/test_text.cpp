#include "platform/Gbk.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

using namespace dbkeel;

TEST(ToInt, FollowsAtoi)
{
    struct Case {
        const char *text;
        int value;
    } cases[] = {
        {"42", 42},
        {"  -17", -17},
        {"+8x", 8},
        {"42A", 42},
        {"B", 0},
        {"", 0},
        {"\t 12 34", 12},
        {"- 5", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(toInt(c.text), c.value) << c.text;
    EXPECT_EQ(toInt(QString::fromUtf8("  15000")), 15000);
}

TEST(Trim, RemovesBlanksOnly)
{
    EXPECT_EQ(trimRight(QString::fromUtf8("检测线  \t")), QString::fromUtf8("检测线"));
    EXPECT_EQ(trimBoth(QString(" \r\n a b \v")), QString("a b"));
    EXPECT_EQ(trimLeft(QString("  x ")), QString("x "));
    EXPECT_EQ(trimRight(QByteArray("ab \r\n")), QByteArray("ab"));
}

TEST(Gbk, RoundTripsChineseText)
{
    const QString text = QString::fromUtf8("数据库管理工具 ABC");
    const QByteArray gbk = toGbk(text);
    EXPECT_EQ(gbk.size(), 7 * 2 + 4);
    EXPECT_EQ(static_cast<unsigned char>(gbk[0]), 0xCA);  // 数 = CA FD
    EXPECT_EQ(static_cast<unsigned char>(gbk[1]), 0xFD);
    EXPECT_EQ(fromGbk(gbk), text);
    EXPECT_EQ(gbkLength(text), 18);
}

TEST(Gbk, CutNeverSplitsACharacter)
{
    const QString text = QString::fromUtf8("a数据b");  // 1 + 2 + 2 + 1 bytes
    struct Case {
        int max;
        const char *expected;
    } cases[] = {
        {0, ""}, {1, "a"}, {2, "a"}, {3, "a数"}, {4, "a数"}, {5, "a数据"}, {6, "a数据b"}, {60, "a数据b"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(cutToGbkBytes(text, c.max), QString::fromUtf8(c.expected)) << c.max;
}

TEST(Gbk, TellsTextWithoutAGbkForm)
{
    // Repeated, so that an error of one call cannot leak into the next.
    struct Case {
        const char *text;
        bool gbk;
    } cases[] = {
        {"abc", true}, {"检测线", true}, {"a😀b", false}, {"说明", true}, {"😀", false}, {"😀", false}, {"", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isGbkText(QString::fromUtf8(c.text)), c.gbk) << c.text;
}
