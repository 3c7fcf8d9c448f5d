#pragma once
// How two cell texts of a report list compare when the list sorts, trying in order:
//   a. both read completely as unsigned base-16 numbers (strtoul: leading blanks, "+",
//      "0x" accepted; a text with a minus sign is left to b, so negative numbers do not
//      order after positive ones as wrapped unsigned values);
//   b. both read completely as floating-point numbers (strtod), or all but one trailing "%";
//   c. both are dates or date-times (see readDateTime);
//   d. otherwise their GBK bytes, unsigned, byte by byte (case-sensitive).
// A key holds every reading of one text, so a sort converts each cell once.

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace dbkeel {

// strtoul(text, &end, 16) when it consumes the whole text (64-bit, saturating at the top).
std::optional<quint64> readWholeHex(QStringView text);
// strtod(text, &end) in the C locale when it consumes the whole text or all but one trailing "%".
std::optional<double> readWholeNumber(QStringView text);

// The default locale's short date and date-time formats, taken once per sort. Only texts
// made of digits, blanks, the formats' separators and the AM/PM texts are tried, since
// trying a format is slow; formats that spell month or day names are therefore not read.
class LocaleDates {
public:
    LocaleDates();
    std::optional<qint64> read(QStringView text) const;

private:
    bool mayMatch(QStringView text) const;

    QLocale m_locale;
    // Characters besides digits and blanks that a matching text may hold, each at most
    // as often as one format or AM/PM text has it.
    QString m_allowed;
    QList<int> m_maxCount;
};

// Milliseconds on one linear scale for the date and date-time texts the installation writes,
// leading and trailing blanks ignored:
//   yyyy-M-d, yyyy/M/d, yyyy.M.d or yyyy年M月d日, optionally followed (after blanks or "T")
//   by H:m, H:m:s or H:m:s.fff; a time alone (H:m[:s[.fff]]) counts on day zero, 1899-12-30;
//   else the locale's short date or date-time format.
std::optional<qint64> readDateTime(QStringView text, const LocaleDates &locale = LocaleDates());

class CellSortKey {
public:
    CellSortKey(const QString &text, const LocaleDates &locale);

    // Negative, zero or positive as `a` orders before, with or after `b`.
    friend int compare(const CellSortKey &a, const CellSortKey &b);

private:
    std::optional<quint64> m_hex;
    std::optional<double> m_number;
    std::optional<qint64> m_date;
    QByteArray m_gbk;
};

int compareCellTexts(const QString &a, const QString &b);

}  // namespace dbkeel
