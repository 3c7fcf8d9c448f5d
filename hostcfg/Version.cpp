// GetVers: the version texts that the build embeds in every binary
// (cmake/version_stamp.c.in): marker, NUL, name, NUL, version, NUL,
// description, NUL, end marker.

#include "hostcfg/HostCfg.h"

#include "platform/Gbk.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

extern "C" const char dbkeel_version_stamp[];  // this library's own stamp

namespace {

struct VersionTexts {
    std::string_view name, version, description;
};

// Put together at run time so that this code holds no copy of the marker
// that a scan of this library could mistake for its stamp.
const std::string &stampMarker()
{
    static const std::string marker = std::string("@@DBKEEL") + "-VERSION@@" + '\0';
    return marker;
}

const std::string &stampEnd()
{
    static const std::string end = std::string("@@END") + "@@";
    return end;
}

// The NUL-terminated text at the front of `bytes`; advances past its NUL.
std::optional<std::string_view> takeText(std::string_view &bytes)
{
    const size_t nul = bytes.find('\0');
    if (nul == std::string_view::npos)
        return std::nullopt;
    const std::string_view text = bytes.substr(0, nul);
    bytes.remove_prefix(nul + 1);
    return text;
}

// The stamp's texts when `afterMarker` continues a whole stamp.
std::optional<VersionTexts> readStampBody(std::string_view afterMarker)
{
    // Longest body worth looking at: a stamp is small, a stray marker must not
    // make us walk the rest of a large file.
    constexpr size_t kMaxBody = 4096;
    std::string_view body = afterMarker.substr(0, kMaxBody);
    const auto name = takeText(body);
    const auto version = name ? takeText(body) : std::nullopt;
    const auto description = version ? takeText(body) : std::nullopt;
    if (!description || !body.starts_with(stampEnd()))
        return std::nullopt;
    return VersionTexts{*name, *version, *description};
}

std::optional<VersionTexts> findStamp(std::string_view bytes)
{
    const std::string &marker = stampMarker();
    const std::boyer_moore_horspool_searcher searcher(marker.begin(), marker.end());
    for (auto from = bytes.begin();;) {
        const auto hit = std::search(from, bytes.end(), searcher);
        if (hit == bytes.end())
            return std::nullopt;
        const size_t bodyStart = static_cast<size_t>(hit - bytes.begin()) + marker.size();
        if (auto texts = readStampBody(bytes.substr(bodyStart)))
            return texts;
        from = hit + 1;
    }
}

std::string_view ownStamp()
{
    // Marker, three texts and the end marker, each ending in NUL.
    const char *p = dbkeel_version_stamp;
    for (int piece = 0; piece < 5; ++piece)
        p += std::strlen(p) + 1;
    return {dbkeel_version_stamp, static_cast<size_t>(p - dbkeel_version_stamp)};
}

void putText(char *out, int offset, int room, std::string_view utf8)
{
    dbkeel::putGbkField(out + offset, room, QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void putTexts(char *out, const VersionTexts &texts)
{
    putText(out, HOSTCFG_VERSION_TEXT, HOSTCFG_VERSION_NAME - HOSTCFG_VERSION_TEXT, texts.version);
    putText(out, HOSTCFG_VERSION_NAME, HOSTCFG_VERSION_DESCRIPTION - HOSTCFG_VERSION_NAME, texts.name);
    putText(out, HOSTCFG_VERSION_DESCRIPTION, HOSTCFG_VERSION_SIZE - HOSTCFG_VERSION_DESCRIPTION, texts.description);
}

int readFileStamp(const char *file, char *out)
{
    QFile binary(dbkeel::fromGbk(file));
    if (!binary.open(QIODevice::ReadOnly))
        return -1;
    if (binary.size() == 0)
        return 0;
    const uchar *bytes = binary.map(0, binary.size());
    if (!bytes)
        return -1;
    const auto texts = findStamp({reinterpret_cast<const char *>(bytes), static_cast<size_t>(binary.size())});
    if (texts)
        putTexts(out, *texts);
    binary.unmap(const_cast<uchar *>(bytes));
    return texts ? 1 : 0;
}

}  // namespace

extern "C" int GetVers(const char *file, char *out)
{
    if (!out)
        return -2;
    std::memset(out, 0, HOSTCFG_VERSION_SIZE);
    if (file && *file != '\0')
        return readFileStamp(file, out);
    const auto own = findStamp(ownStamp());
    if (own)
        putTexts(out, *own);
    return own ? 1 : 0;
}
