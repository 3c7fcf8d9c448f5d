#pragma once
// An index file as lines, and the hand-checked fixtures it is compared with.

#include "platform/Gbk.h"
#include "tests/support/TestSupport.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace dbkeel::test {

// The lines of a GBK file with CRLF line ends.
inline QStringList gbkLines(const QString &path)
{
    QString text = fromGbk(readFileBytes(path));
    EXPECT_TRUE(text.isEmpty() || text.endsWith(QStringLiteral("\r\n"))) << path.toStdString();
    text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

// tests/indexfiles/data/<name> (UTF-8, LF) with @VERSION@ replaced by `version`.
inline QStringList fixtureLines(const QString &name, const QString &version)
{
    return QString::fromUtf8(readFileBytes(sourceDir() + QStringLiteral("/tests/indexfiles/data/") + name))
        .replace(QStringLiteral("@VERSION@"), version)
        .trimmed()
        .split(u'\n');
}

// Line by line, so a difference names its line.
inline void expectSameLines(const QStringList &written, const QStringList &expected)
{
    EXPECT_EQ(written.size(), expected.size());
    for (int n = 0; n < qMax(expected.size(), written.size()); ++n)
        EXPECT_EQ(written.value(n), expected.value(n)) << "line " << n + 1;
}

}  // namespace dbkeel::test
