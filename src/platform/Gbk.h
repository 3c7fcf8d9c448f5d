#pragma once
// GBK is the code page of every file, packet and script that the installation's
// other programs read or write; in memory text is UTF-8 (QString).

#include <QByteArray>
#include <QString>

namespace dbkeel {

QByteArray toGbk(const QString &text);
QString fromGbk(const QByteArray &bytes);
QString fromGbk(const char *bytes);  // NUL-terminated

// The longest prefix of `text` whose GBK form has at most `maxBytes` bytes;
// a two-byte character is never split.
QString cutToGbkBytes(const QString &text, int maxBytes);
// The same cut on text that is already GBK.
QByteArray cutGbkBytes(const QByteArray &gbk, int maxBytes);

// True when every character of `text` has a GBK form (nothing would become '?').
bool isGbkText(const QString &text);

// Writes the GBK form of `text` into a fixed field of `width` bytes, cut so that its NUL always
// fits; the rest of the field is NUL.
void putGbkField(char *field, int width, const QString &text);

// Number of bytes of the GBK form.
int gbkLength(const QString &text);

}  // namespace dbkeel
