#include "platform/Profile.h"

#include "platform/FileWrite.h"
#include "platform/Gbk.h"
#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace dbkeel {
namespace {

// ---- encodings -------------------------------------------------------------------------------
// Lines are kept as bytes of a working encoding: GBK for files without a byte-order mark,
// UTF-8 for files with one (a UTF-16 file is converted on loading and back on saving).

enum class Encoding { Gbk, Utf8, Utf16Le, Utf16Be };

const QByteArray utf8Bom("\xEF\xBB\xBF");
const QByteArray utf16LeBom("\xFF\xFE");
const QByteArray utf16BeBom("\xFE\xFF");

Encoding detectEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith(utf8Bom))
        return Encoding::Utf8;
    if (bytes.startsWith(utf16LeBom))
        return Encoding::Utf16Le;
    if (bytes.startsWith(utf16BeBom))
        return Encoding::Utf16Be;
    return Encoding::Gbk;
}

QStringConverter::Encoding utf16Of(Encoding encoding)
{
    return encoding == Encoding::Utf16Le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
}

// File bytes → working bytes, without the byte-order mark.
QByteArray toWorkingBytes(const QByteArray &file, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Gbk: return file;
    case Encoding::Utf8: return file.mid(utf8Bom.size());
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        QStringDecoder decoder(utf16Of(encoding));
        const QString text = decoder.decode(QByteArrayView(file).sliced(2));
        return text.toUtf8();
    }
    }
    return file;
}

QByteArray toFileBytes(const QByteArray &working, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Gbk: return working;
    case Encoding::Utf8: return utf8Bom + working;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        QStringEncoder encoder(utf16Of(encoding));
        return (encoding == Encoding::Utf16Le ? utf16LeBom : utf16BeBom)
               + QByteArray(encoder.encode(QString::fromUtf8(working)));
    }
    }
    return working;
}

// ---- names -----------------------------------------------------------------------------------

// Section and key names match without regard to ASCII letter case; the index keeps
// the file's spelling and folds while hashing and comparing.
char16_t foldedChar(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
}

struct Name {
    QString text;
    bool operator==(const Name &other) const
    {
        if (text.size() != other.text.size())
            return false;
        for (qsizetype i = 0; i < text.size(); ++i)
            if (foldedChar(text[i]) != foldedChar(other.text[i]))
                return false;
        return true;
    }
};

size_t qHash(const Name &name, size_t seed = 0)
{
    size_t hash = seed ^ 0xcbf29ce484222325ull;
    for (QChar c : name.text)
        hash = (hash ^ foldedChar(c)) * 0x100000001b3ull;
    hash ^= hash >> 33;  // QHash picks buckets by the low bits: let every bit reach them
    hash *= 0xff51afd7ed558ccdull;
    return hash ^ (hash >> 33);
}

using NameIndex = QHash<Name, int>;

// With duplicates the first one counts: true when `name` was new. One lookup: operator[] adds it.
bool indexFirst(NameIndex &index, const QString &name, int at)
{
    const qsizetype known = index.size();
    int &place = index[Name{name}];
    if (index.size() == known)
        return false;
    place = at;
    return true;
}

// One enclosing pair of equal quotes is removed on reading.
QString unquoted(const QString &value)
{
    if (value.size() >= 2) {
        const QChar quote = value.front();
        if ((quote == u'"' || quote == u'\'') && value.back() == quote)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

// At most width-1 GBK bytes, never half a character.
QString cutToWidth(const QString &value, int width)
{
    const int maxBytes = width - 1;
    if (value.size() * 2 <= maxBytes || gbkLength(value) <= maxBytes)
        return value;
    return cutToGbkBytes(value, maxBytes);
}

// ---- lines -----------------------------------------------------------------------------------

enum class Eol : quint8 { None, CrLf, Lf, Cr };

QByteArrayView eolBytes(Eol eol)
{
    switch (eol) {
    case Eol::None: return {};
    case Eol::CrLf: return "\r\n";
    case Eol::Lf: return "\n";
    case Eol::Cr: return "\r";
    }
    return {};
}

enum class LineKind : quint8 { Blank, Comment, Header, Key };

struct Line {
    QByteArray text;  // as in the file (working encoding), without its line break
    Eol eol = Eol::CrLf;
    LineKind kind = LineKind::Blank;
    bool hasValue = false;  // a Key line with '='
    bool firstKey = false;  // the first Key line of its name in the section
    QString name;           // section name of a Header, key spelling of a Key
    QString value;          // value of a Key, leading blanks removed
};

// Windows' rules: trimmed line; "[name]" to the last ']'; ";" comment; key=value at the first '='.
void parseLine(Line &line, const QString &decoded)
{
    const QString text = trimBoth(decoded);
    if (text.isEmpty()) {
        line.kind = LineKind::Blank;
    } else if (text.front() == u'[' && text.lastIndexOf(u']') > 0) {
        line.kind = LineKind::Header;
        line.name = trimBoth(text.mid(1, text.lastIndexOf(u']') - 1));
    } else if (text.front() == u';') {
        line.kind = LineKind::Comment;
    } else {
        line.kind = LineKind::Key;
        const qsizetype equals = text.indexOf(u'=');
        line.hasValue = equals >= 0;
        line.name = line.hasValue ? trimRight(text.left(equals)) : text;
        if (line.hasValue)
            line.value = trimLeft(text.mid(equals + 1));
    }
}

struct Section {
    QString name;             // null for the lines before the first header
    std::vector<Line> lines;  // lines[0] is the header, except before the first header
    NameIndex keys;           // key → line of its first occurrence
    int lastEntry = 0;        // last line that is not blank: a new key goes after it

    void indexLine(int i)
    {
        Line &line = lines[i];
        if (line.kind == LineKind::Blank)
            return;
        if (line.kind == LineKind::Key)
            line.firstKey = indexFirst(keys, line.name, i);
        lastEntry = i;
    }
    void reindex()
    {
        keys.clear();
        lastEntry = 0;
        for (int i = 0; i < int(lines.size()); ++i)
            indexLine(i);
    }
};

// ---- the file's identity on disk --------------------------------------------------------------

struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QByteArray &nativePath, const QString &path)
{
    FileStamp stamp;
#ifdef Q_OS_UNIX
    Q_UNUSED(path);
    struct stat st;
    if (::stat(nativePath.constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = st.st_size;
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.inode = st.st_ino;
#else
    Q_UNUSED(nativePath);
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
#endif
    return stamp;
}

// ---- pending writes, kept so that they can be applied again over another process's change ---

struct Edit {
    enum Kind { Set, RemoveKey, RemoveSection } kind;
    QString section, key, value;
};

}  // namespace

struct ProfileFile::Impl {
    QString path;
    QByteArray nativePath;
    Encoding encoding = Encoding::Gbk;
    std::vector<Section> sections;  // sections[0] holds the lines before the first header
    NameIndex sectionIndex;         // name → first section of that name
    FileStamp loadedStamp;
    bool readable = true;            // false: the file exists but could not be read
    QString readError;               // why, when it could not
    std::vector<Edit> pendingEdits;  // non-empty exactly when there are unsaved changes
    QString m_uncarriedEdit;         // why a pending write cannot go into the file as it now is
    QString lastError;

    explicit Impl(const QString &p) : path(p), nativePath(QFile::encodeName(p)) { load(); }

    // ---- loading ----

    void load()
    {
        sections.clear();
        sectionIndex.clear();
        sections.push_back(Section{});
        readable = true;
        encoding = Encoding::Gbk;
        loadedStamp = stampOf(nativePath, path);
        if (!loadedStamp.exists)
            return;
        const std::optional<QByteArray> bytes = readRegularFile(path, &readError);
        if (!bytes) {
            readable = false;
            lastError = readError;
            return;
        }
        encoding = detectEncoding(*bytes);
        parse(toWorkingBytes(*bytes, encoding));
    }

    // A line ends at CRLF, a lone CR or a lone LF; a run of them leaves blank lines.
    void parse(const QByteArray &bytes)
    {
        const char *data = bytes.constData();
        const qsizetype size = bytes.size();
        qsizetype start = 0;
        while (start < size) {
            qsizetype end = start;
            while (end < size && data[end] != '\r' && data[end] != '\n')
                ++end;
            Line line;
            line.text = QByteArray(data + start, end - start);
            if (end == size) {
                line.eol = Eol::None;
                start = end;
            } else if (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') {
                line.eol = Eol::CrLf;
                start = end + 2;
            } else {
                line.eol = data[end] == '\r' ? Eol::Cr : Eol::Lf;
                start = end + 1;
            }
            parseLine(line, decode(line.text));
            addParsedLine(std::move(line));
        }
    }

    void addParsedLine(Line &&line)
    {
        if (line.kind == LineKind::Header) {
            indexFirst(sectionIndex, line.name, int(sections.size()));
            Section section;
            section.name = line.name;
            section.lines.push_back(std::move(line));
            sections.push_back(std::move(section));
            return;
        }
        Section &section = sections.back();
        section.lines.push_back(std::move(line));
        section.indexLine(int(section.lines.size()) - 1);
    }

    QString decode(const QByteArray &bytes) const
    {
        return encoding == Encoding::Gbk ? fromGbk(bytes) : QString::fromUtf8(bytes);
    }
    QByteArray encode(const QString &text) const { return encoding == Encoding::Gbk ? toGbk(text) : text.toUtf8(); }

    // Before each call: take in another process's change, keeping our unsaved writes on top. A
    // write that the file in its new encoding cannot carry stays pending, and keeps save() from
    // writing the file.
    void refresh()
    {
        if (stampOf(nativePath, path) == loadedStamp)
            return;
        load();
        m_uncarriedEdit.clear();
        for (const Edit &edit : pendingEdits) {
            if (const QString reason = invalidReason(edit); !reason.isEmpty())
                m_uncarriedEdit = reason;
            else
                apply(edit);
        }
    }

    // ---- lookup ----

    Section *findSection(const QString &name)
    {
        const auto it = sectionIndex.constFind(Name{trimBoth(name)});
        return it == sectionIndex.constEnd() ? nullptr : &sections[it.value()];
    }

    const Line *findKey(const QString &section, const QString &key) { return findKey(findSection(section), key); }
    static const Line *findKey(const Section *s, const QString &key)
    {
        const QString name = trimBoth(key);
        if (!s || name.isEmpty())
            return nullptr;
        const auto it = s->keys.constFind(Name{name});
        return it == s->keys.constEnd() ? nullptr : &s->lines[it.value()];
    }

    // What a reader with a buffer of `width` gets for the key (the file as loaded now).
    QString readValue(const QString &section, const QString &key, const QString &defaultValue, int width)
    {
        return readValue(findSection(section), key, defaultValue, width);
    }
    static QString readValue(const Section *section, const QString &key, const QString &defaultValue, int width)
    {
        const Line *line = findKey(section, key);
        return cutToWidth(unquoted(line && line->hasValue ? line->value : trimRight(defaultValue)), width);
    }

    // ---- writing ----

    // The text the file cannot carry back unchanged.
    QString invalidReason(const Edit &edit) const
    {
        if (edit.section.isEmpty())
            return QStringLiteral("no section name given");
        for (const QString *text : {&edit.section, &edit.key, &edit.value}) {
            if (text->contains(u'\r') || text->contains(u'\n'))
                return QStringLiteral("a line break cannot be stored in a profile file");
            if (encoding == Encoding::Gbk && !isGbkText(*text))
                return QStringLiteral("\"%1\" cannot be written in GBK").arg(*text);
        }
        if (edit.kind == Edit::RemoveSection)
            return {};
        if (edit.key.isEmpty())
            return QStringLiteral("no key name given");
        if (edit.key.contains(u'=') || edit.key.front() == u'[' || edit.key.front() == u';')
            return QStringLiteral("\"%1\" cannot be a key name").arg(edit.key);
        return {};
    }

    // `lookFirst` false: the caller has just looked at the file (a run of writes).
    bool submit(Edit edit, bool lookFirst = true)
    {
        edit.section = trimBoth(edit.section);
        edit.key = trimBoth(edit.key);
        if (edit.kind == Edit::Set)
            edit.value = trimLeft(edit.value);
        if (lookFirst)
            refresh();  // the file as it is now decides what it can carry
        if (const QString reason = invalidReason(edit); !reason.isEmpty()) {
            lastError = reason;
            return false;
        }
        if (apply(edit))
            pendingEdits.push_back(std::move(edit));
        return true;
    }

    // True when the memory copy changed.
    bool apply(const Edit &edit)
    {
        switch (edit.kind) {
        case Edit::Set: return setValue(edit.section, edit.key, edit.value);
        case Edit::RemoveKey: return removeKey(edit.section, edit.key);
        case Edit::RemoveSection: return removeSection(edit.section);
        }
        return false;
    }

    bool setValue(const QString &sectionName, const QString &key, const QString &value)
    {
        Section *section = findSection(sectionName);
        if (!section)
            section = &appendSection(sectionName);
        const auto it = section->keys.constFind(Name{key});
        if (it != section->keys.constEnd()) {
            Line &line = section->lines[it.value()];
            if (line.hasValue && line.value == value)
                return false;
            line.text = encode(line.name + u'=' + value);  // the file's spelling of the key
            line.hasValue = true;
            line.value = value;
            return true;
        }
        Line line;
        line.text = encode(key + u'=' + value);
        line.kind = LineKind::Key;
        line.hasValue = true;
        line.name = key;
        line.value = value;
        const int at = section->lastEntry + 1;
        endLine(section->lines[at - 1]);
        section->lines.insert(section->lines.begin() + at, std::move(line));
        section->indexLine(at);  // only blank lines follow, so no index moves
        return true;
    }

    Section &appendSection(const QString &name)
    {
        for (auto s = sections.rbegin(); s != sections.rend(); ++s)
            if (!s->lines.empty()) {
                endLine(s->lines.back());
                break;
            }
        Line header;
        header.text = encode(u'[' + name + u']');
        header.kind = LineKind::Header;
        header.name = name;
        Section section;
        section.name = name;
        section.lines.push_back(std::move(header));
        sectionIndex.insert(Name{name}, int(sections.size()));
        sections.push_back(std::move(section));
        return sections.back();
    }

    static void endLine(Line &line)
    {
        if (line.eol == Eol::None)
            line.eol = Eol::CrLf;
    }

    bool removeKey(const QString &sectionName, const QString &key)
    {
        Section *section = findSection(sectionName);
        if (!section)
            return false;
        const auto it = section->keys.constFind(Name{key});
        if (it == section->keys.constEnd())
            return false;
        section->lines.erase(section->lines.begin() + it.value());
        section->reindex();
        return true;
    }

    bool removeSection(const QString &name)
    {
        const auto it = sectionIndex.constFind(Name{name});
        if (it == sectionIndex.constEnd())
            return false;
        sections.erase(sections.begin() + it.value());
        sectionIndex.clear();
        for (int i = 1; i < int(sections.size()); ++i)
            indexFirst(sectionIndex, sections[i].name, i);
        return true;
    }

    // ---- saving ----

    QByteArray serialize() const
    {
        qsizetype total = 0;
        for (const Section &section : sections)
            for (const Line &line : section.lines)
                total += line.text.size() + 2;
        QByteArray bytes;
        bytes.reserve(total);
        for (const Section &section : sections)
            for (const Line &line : section.lines) {
                bytes += line.text;
                bytes += eolBytes(line.eol);
            }
        return toFileBytes(bytes, encoding);
    }

    bool save()
    {
        refresh();
        if (pendingEdits.empty())
            return true;
        if (!readable) {
            lastError = readError + QStringLiteral("; not overwritten");
            return false;
        }
        if (!m_uncarriedEdit.isEmpty()) {
            lastError = QStringLiteral("%1 was rewritten in another encoding meanwhile: %2; not overwritten")
                            .arg(path, m_uncarriedEdit);
            return false;
        }
        lastError = writeFileWhole(path, serialize());
        if (!lastError.isEmpty())
            return false;
        loadedStamp = stampOf(nativePath, path);
        pendingEdits.clear();
        return true;
    }
};

ProfileFile::ProfileFile(const QString &path) : d(std::make_unique<Impl>(path)) {}
ProfileFile::~ProfileFile() = default;
ProfileFile::ProfileFile(ProfileFile &&) noexcept = default;
ProfileFile &ProfileFile::operator=(ProfileFile &&) noexcept = default;

QString ProfileFile::path() const
{
    return d->path;
}

QString ProfileFile::readString(const QString &section, const QString &key, const QString &defaultValue,
                                int width) const
{
    if (width <= 0)
        return {};
    d->refresh();
    return d->readValue(section, key, defaultValue, width);
}

QStringList ProfileFile::readStrings(const QString &section, const QStringList &keys, const QString &defaultValue,
                                     int width) const
{
    if (width <= 0)
        return QStringList(keys.size());
    d->refresh();
    const Section *s = d->findSection(section);
    QStringList values;
    values.reserve(keys.size());
    for (const QString &key : keys)
        values << d->readValue(s, key, defaultValue, width);
    return values;
}

int ProfileFile::readInt(const QString &section, const QString &key, int defaultValue) const
{
    d->refresh();
    const Line *line = d->findKey(section, key);
    const QString value = line && line->hasValue ? unquoted(line->value) : QString();
    return value.isEmpty() ? defaultValue : toInt(value);
}

QStringList ProfileFile::sectionNames() const
{
    d->refresh();
    QStringList names;
    for (size_t i = 1; i < d->sections.size(); ++i)
        if (d->sectionIndex.value(Name{d->sections[i].name}) == int(i))
            names.append(d->sections[i].name);
    return names;
}

QStringList ProfileFile::keyNames(const QString &section) const
{
    d->refresh();
    QStringList names;
    const Section *s = d->findSection(section);
    if (!s)
        return names;
    for (const Line &line : s->lines)
        if (line.kind == LineKind::Key && line.hasValue && line.firstKey)
            names.append(line.name);
    return names;
}

bool ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (key.isNull())
        return removeSection(section);
    if (value.isNull())
        return removeKey(section, key);
    return d->submit({Edit::Set, section, key, value});
}

bool ProfileFile::writeStrings(const QString &section, const QStringList &keys, const QStringList &values)
{
    d->refresh();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString value = values.value(i);
        if (keys.at(i).isNull() || value.isNull() ? !writeString(section, keys.at(i), value)
                                                  : !d->submit({Edit::Set, section, keys.at(i), value}, false))
            return false;
    }
    return true;
}

bool ProfileFile::removeKey(const QString &section, const QString &key)
{
    return d->submit({Edit::RemoveKey, section, key, {}});
}

bool ProfileFile::removeSection(const QString &section)
{
    return d->submit({Edit::RemoveSection, section, {}, {}});
}

bool ProfileFile::hasUnsavedChanges() const
{
    return !d->pendingEdits.empty();
}
bool ProfileFile::save()
{
    return d->save();
}
QString ProfileFile::lastError() const
{
    return d->lastError;
}

QString readProfileString(const QString &path, const QString &section, const QString &key, const QString &defaultValue,
                          int width)
{
    return ProfileFile(path).readString(section, key, defaultValue, width);
}

int readProfileInt(const QString &path, const QString &section, const QString &key, int defaultValue)
{
    return ProfileFile(path).readInt(section, key, defaultValue);
}

bool writeProfileString(const QString &path, const QString &section, const QString &key, const QString &value)
{
    ProfileFile file(path);
    return file.writeString(section, key, value) && file.save();
}

}  // namespace dbkeel
