#include "core/SqlDialect.h"

#include "core/SqlValue.h"

#include <QMap>
#include <QRegularExpression>

namespace dbkeel {

Dialect dialectForDbms(const QString &dbmsName)
{
    return dbmsName.contains(QLatin1String("microsoft"), Qt::CaseInsensitive) ? Dialect::SqlServer : Dialect::Sqlite;
}

int majorVersion(const QString &dbmsVersion)
{
    static const QRegularExpression leading(QStringLiteral("^\\s*(\\d+)"));
    const QRegularExpressionMatch match = leading.match(dbmsVersion);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool sqlServerBefore(int major, int release)
{
    return major > 0 && major < release;
}

QString sqlServerRelease(int major)
{
    static const QMap<int, QString> names{{6, QStringLiteral("6.5")},   {7, QStringLiteral("7.0")},
                                          {8, QStringLiteral("2000")},  {9, QStringLiteral("2005")},
                                          {10, QStringLiteral("2008")}, {11, QStringLiteral("2012")},
                                          {12, QStringLiteral("2014")}, {13, QStringLiteral("2016")},
                                          {14, QStringLiteral("2017")}, {15, QStringLiteral("2019")},
                                          {16, QStringLiteral("2022")}};
    return QStringLiteral("SQL Server ") + names.value(major, QString::number(major));
}

namespace {

// A name between brackets inside a T-SQL name text: a closing bracket is doubled.
QString bracketed(const QString &name)
{
    return QLatin1Char('[') + QString(name).replace(QLatin1Char(']'), QLatin1String("]]")) + QLatin1Char(']');
}

}  // namespace

QString sqlIdentifier(Dialect dialect, const QString &name)
{
    static const QRegularExpression plainWord(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (plainWord.match(name).hasMatch())
        return name;
    if (dialect == Dialect::SqlServer)
        return bracketed(name);
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString sqlLike(const QString &text, LikeMatch match)
{
    constexpr QChar kEscape = u'!';
    QString pattern = match == LikeMatch::Contains ? QStringLiteral("%") : QString();
    bool escaped = false;
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'[' || c == kEscape) {
            pattern += kEscape;
            escaped = true;
        }
        pattern += c;
    }
    pattern += u'%';
    return escaped ? QStringLiteral("%1 escape '%2'").arg(sqlText(pattern), kEscape) : sqlText(pattern);
}

QString tableExistsQuery(Dialect dialect, const QString &table)
{
    if (dialect == Dialect::SqlServer)
        return QStringLiteral("select * from dbo.sysobjects where id = object_id(N%1) and "
                              "OBJECTPROPERTY(id, N'IsUserTable') = 1")
            .arg(sqlText(QStringLiteral("[dbo].") + bracketed(table)));
    return QStringLiteral("select name from sqlite_master where type = 'table' and name = %1 collate nocase")
        .arg(sqlText(table));
}

QString columnExistsQuery(Dialect dialect, const QString &table, const QString &column)
{
    if (dialect == Dialect::SqlServer)
        return QStringLiteral("select name from syscolumns where id = object_id(%1) and name = %2")
            .arg(sqlText(table), sqlText(column));
    return QStringLiteral("select name from pragma_table_info(%1) where name = %2 collate nocase")
        .arg(sqlText(table), sqlText(column));
}

QString userTablesQuery(Dialect dialect, const QString &likePattern)
{
    if (dialect == Dialect::SqlServer)
        return QStringLiteral("select name from sysobjects where xtype = 'U' and name like %1 ;")
            .arg(sqlText(likePattern));
    return QStringLiteral("select name from sqlite_master where type = 'table' and name like %1 ;")
        .arg(sqlText(likePattern));
}

QString tableColumnsQuery(Dialect dialect, const QString &table)
{
    if (dialect == Dialect::SqlServer)
        return QStringLiteral("SELECT name FROM syscolumns WHERE (id = OBJECT_ID(N%1)) order by colorder ;")
            .arg(sqlText(table));
    return QStringLiteral("SELECT name FROM pragma_table_info(%1) order by cid ;").arg(sqlText(table));
}

namespace {

// Index just past a quoted or bracketed run that starts at `start`.
qsizetype skipQuoted(const QString &text, qsizetype start)
{
    const QChar open = text.at(start);
    const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
    qsizetype i = start + 1;
    while (i < text.size()) {
        if (text.at(i) == close) {
            if (i + 1 < text.size() && text.at(i + 1) == close)  // doubled: an escaped quote
                i += 2;
            else
                return i + 1;
        } else {
            ++i;
        }
    }
    return i;
}

qsizetype skipComment(const QString &text, qsizetype start)
{
    if (text.at(start + 1) == QLatin1Char('-')) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        return end < 0 ? text.size() : end + 1;
    }
    const qsizetype end = text.indexOf(QLatin1String("*/"), start + 2);
    return end < 0 ? text.size() : end + 2;
}

bool startsComment(const QString &text, qsizetype i)
{
    if (i + 1 >= text.size())
        return false;
    const QChar c = text.at(i), n = text.at(i + 1);
    return (c == QLatin1Char('-') && n == QLatin1Char('-')) || (c == QLatin1Char('/') && n == QLatin1Char('*'));
}

// A trigger's body (BEGIN … END, with CASE … END inside it) holds semicolons that do not end the
// statement: the words of a statement are followed to know when one is open.
class StatementWords {
public:
    void add(QStringView word)
    {
        if (m_leading.size() < 3)
            m_leading << word.toString().toLower();
        if (!isTrigger())
            return;
        const QString lower = word.toString().toLower();
        if (lower == QLatin1String("begin") || lower == QLatin1String("case"))
            ++m_depth;
        else if (lower == QLatin1String("end") && m_depth > 0)
            --m_depth;
    }
    bool insideBody() const { return m_depth > 0; }
    void clear() { *this = {}; }

private:
    bool isTrigger() const
    {
        if (m_leading.value(0) != QLatin1String("create"))
            return false;
        const QString second = m_leading.value(1);
        return second == QLatin1String("trigger")
               || ((second == QLatin1String("temp") || second == QLatin1String("temporary"))
                   && m_leading.value(2) == QLatin1String("trigger"));
    }

    QStringList m_leading;
    int m_depth = 0;
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

}  // namespace

QStringList splitStatements(const QString &batch)
{
    QStringList statements;
    QString current;     // the statement's text before `from`, comments made blanks
    qsizetype from = 0;  // the run of the batch not yet copied into `current`
    StatementWords words;
    const auto take = [&](qsizetype end) {
        current += QStringView(batch).mid(from, end - from);
        if (!current.trimmed().isEmpty())
            statements << current.trimmed();
        current.clear();
        words.clear();
    };
    qsizetype i = 0;
    while (i < batch.size()) {
        const QChar c = batch.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
            i = skipQuoted(batch, i);
        } else if (startsComment(batch, i)) {
            current += QStringView(batch).mid(from, i - from);
            current += QLatin1Char(' ');
            i = from = skipComment(batch, i);
        } else if (c == QLatin1Char(';') && !words.insideBody()) {
            take(i);
            from = ++i;
        } else if (isWordChar(c)) {
            qsizetype end = i + 1;
            while (end < batch.size() && isWordChar(batch.at(end)))
                ++end;
            words.add(QStringView(batch).mid(i, end - i));
            i = end;
        } else {
            ++i;
        }
    }
    take(batch.size());
    return statements;
}

}  // namespace dbkeel
