#include "Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace dbkeel {

QByteArray toGbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QString fromGbk(const QByteArray &bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

QString fromGbk(const char *bytes)
{
    return fromGbk(QByteArray(bytes ? bytes : ""));
}

QByteArray cutGbkBytes(const QByteArray &gbk, int maxBytes)
{
    if (maxBytes <= 0)
        return {};
    if (gbk.size() <= maxBytes)
        return gbk;
    // Walk character by character: a lead byte >= 0x81 starts a two-byte character.
    int end = 0;
    while (end < gbk.size()) {
        const int width = static_cast<unsigned char>(gbk[end]) >= 0x81 && end + 1 < gbk.size() ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return gbk.left(end);
}

QString cutToGbkBytes(const QString &text, int maxBytes)
{
    return fromGbk(cutGbkBytes(toGbk(text), maxBytes));
}

int gbkLength(const QString &text)
{
    return static_cast<int>(toGbk(text).size());
}

}  // namespace dbkeel
