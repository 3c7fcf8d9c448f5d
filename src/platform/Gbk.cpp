#include "platform/Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

#include <optional>

namespace dbkeel {

namespace {

bool isAscii(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

}  // namespace

// Opening a converter is costly, so each thread keeps one of each kind.
QByteArray toGbk(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    thread_local QStringEncoder encoder("GBK");
    encoder.resetState();
    return encoder.encode(text);
}

bool isGbkText(const QString &text)
{
    if (isAscii(text))
        return true;
    // resetState() keeps the error flag and a moved-in encoder reports none,
    // so an encoder that met an error is rebuilt in place.
    thread_local std::optional<QStringEncoder> encoder;
    if (!encoder)
        encoder.emplace("GBK");
    encoder->resetState();
    const QByteArray encoded = encoder->encode(text);
    if (!encoder->hasError())
        return true;
    encoder.emplace("GBK");
    return false;
}

QString fromGbk(const QByteArray &bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    thread_local QStringDecoder decoder("GBK");
    decoder.resetState();
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

void putGbkField(char *field, int width, const QString &text)
{
    if (width <= 0)
        return;
    const QByteArray gbk = cutGbkBytes(toGbk(text), width - 1);
    std::memcpy(field, gbk.constData(), size_t(gbk.size()));
    std::memset(field + gbk.size(), 0, size_t(width - gbk.size()));
}

int gbkLength(const QString &text)
{
    return static_cast<int>(toGbk(text).size());
}

}  // namespace dbkeel
