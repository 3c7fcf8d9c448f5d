#pragma once
// Small text helpers used by every module.

#include <QByteArray>
#include <QString>

namespace dbkeel {

// The decimal text-to-integer conversion of the installation (C atoi):
// leading blanks, an optional sign, digits up to the first non-digit; no digits gives 0.
int toInt(const QString &text);
int toInt(const QByteArray &text);
int toInt(const char *text);

// Blanks are space, tab, CR, LF, VT and FF.
QString trimRight(const QString &text);
QString trimLeft(const QString &text);
QString trimBoth(const QString &text);
QByteArray trimRight(const QByteArray &text);
QByteArray trimBoth(const QByteArray &text);

}  // namespace dbkeel
