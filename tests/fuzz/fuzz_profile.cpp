// Profile files: any bytes as a file, every value read at several widths, keys written into it,
// saved and parsed again; and the same writes made before another process replaces the file.
// Writes must read back, and what was not written must read as before.

#include "platform/Gbk.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QList>

#include <algorithm>
#include <cstdio>

using namespace dbkeel;
using namespace dbkeel::fuzz;

namespace {

constexpr int kWide = 1 << 20;  // a reader's buffer no value fills

// Names match without regard to ASCII letter case.
bool sameName(const QString &a, const QString &b)
{
    const auto folded = [](QChar c) { return c >= u'A' && c <= u'Z' ? c.toLower() : c; };
    return a.size() == b.size()
           && std::equal(a.cbegin(), a.cend(), b.cbegin(), [&](QChar x, QChar y) { return folded(x) == folded(y); });
}

struct Entry {
    QString section, key, value;
    bool is(const QString &otherSection, const QString &otherKey = {}) const
    {
        return sameName(section, otherSection) && (otherKey.isNull() || sameName(key, otherKey));
    }
};

// A file of these bytes keeps its encoding: GBK unless it starts with a UTF-8 or UTF-16 byte-order mark.
bool canCarry(const QByteArray &file, const Entry &entry)
{
    const bool unicode = file.startsWith("\xEF\xBB\xBF") || file.startsWith("\xFF\xFE") || file.startsWith("\xFE\xFF");
    return unicode || (isGbkText(entry.section) && isGbkText(entry.key) && isGbkText(entry.value));
}

// A narrow reader gets at most width-1 GBK bytes of the value, cut at a character.
void checkNarrowReads(const ProfileFile &file, const Entry &entry)
{
    for (const int width : {1, 2, 3, 8}) {
        const QString cut = file.readString(entry.section, entry.key, QString(), width);
        FUZZ_CHECK(gbkLength(cut) <= width - 1);
        if (isGbkText(entry.value))
            FUZZ_CHECK(entry.value.startsWith(cut));
    }
}

// Every value a reader can reach, through every reading call.
QList<Entry> readAll(const ProfileFile &file)
{
    QList<Entry> entries;
    for (const QString &section : file.sectionNames())
        for (const QString &key : file.keyNames(section)) {
            entries.append({section, key, file.readString(section, key, QStringLiteral("-"), kWide)});
            checkNarrowReads(file, entries.back());
            file.readInt(section, key, -1);
        }
    return entries;
}

// The values of `before` that none of `changed` touched read the same in the file at `path`.
void checkUntouched(const QString &path, const QList<Entry> &before, const QList<Entry> &changed)
{
    const ProfileFile file(path);
    for (const Entry &entry : before) {
        const bool touched = std::any_of(changed.cbegin(), changed.cend(),
                                         [&](const Entry &change) { return entry.is(change.section, change.key); });
        if (!touched)
            FUZZ_CHECK(file.readString(entry.section, entry.key, QStringLiteral("-"), kWide) == entry.value);
    }
}

// A value that reads back as written: no outer blanks, no enclosing pair of quotes.
bool readsBackAsWritten(const QString &value)
{
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
                        && value.back() == value.front();
    return value == trimBoth(value) && !quoted;
}

void checkWritten(const ProfileFile &file, const QList<Entry> &written)
{
    for (const Entry &entry : written)
        if (readsBackAsWritten(entry.value))
            FUZZ_CHECK(file.readString(entry.section, entry.key, QStringLiteral("-"), kWide) == entry.value);
}

// Sets an existing key to another key's value, a new key and a key in a new section; the accepted writes.
QList<Entry> writeKeys(ProfileFile &file, const QList<Entry> &entries)
{
    QList<Entry> wanted{{QStringLiteral("fuzz section"), QStringLiteral("k"), QStringLiteral("v3")}};
    if (!entries.isEmpty()) {
        wanted.append({entries.front().section, entries.front().key, entries.back().value});
        wanted.append({entries.back().section, QStringLiteral("fuzz key"), QStringLiteral("v2")});
    }
    QList<Entry> written;
    for (const Entry &entry : wanted)
        if (file.writeString(entry.section, entry.key, entry.value))
            written.append(entry);
    return written;
}

// Removes the first key and the last section.
QList<Entry> removeKeys(ProfileFile &file, const QList<Entry> &entries)
{
    if (entries.isEmpty())
        return {};
    const QList<Entry> removed{entries.front(), {entries.back().section, {}, {}}};
    file.removeKey(removed[0].section, removed[0].key);
    file.removeSection(removed[1].section);
    return removed;
}

void checkWritesAndRemovals(const QByteArray &content)
{
    const QString path = scratchPath(QStringLiteral("fuzz.ini"));
    writeScratch(path, content);

    const QList<Entry> original = readAll(ProfileFile(path));
    ProfileFile writer(path);
    const QList<Entry> written = writeKeys(writer, original);
    FUZZ_CHECK(writer.save());
    checkWritten(ProfileFile(path), written);
    checkUntouched(path, original, written);

    const QList<Entry> afterWrites = readAll(ProfileFile(path));
    ProfileFile remover(path);
    const QList<Entry> removed = removeKeys(remover, afterWrites);
    FUZZ_CHECK(remover.save());
    checkUntouched(path, afterWrites, removed);
}

// Unsaved writes survive another process replacing the file, and are saved over its content; when
// its new encoding cannot carry one of them, nothing is saved.
void checkAnotherWriter(const QByteArray &mine, const QByteArray &theirs)
{
    const QString path = scratchPath(QStringLiteral("shared.ini"));
    writeScratch(path, mine);
    ProfileFile file(path);
    const QList<Entry> before = readAll(file);
    const QList<Entry> accepted = writeKeys(file, before);
    // A write of the value a key already has changes nothing, so there is nothing to write again.
    QList<Entry> changes = accepted;
    changes.removeIf([&](const Entry &entry) {
        return std::any_of(before.cbegin(), before.cend(), [&](const Entry &old) {
            return old.is(entry.section, entry.key) && old.value == entry.value;
        });
    });

    const QString replacement = scratchPath(QStringLiteral("replacement.ini"));  // a new file, never the same one
    writeScratch(replacement, theirs);
    FUZZ_CHECK(std::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(path).constData()) == 0);
    const QList<Entry> others = readAll(ProfileFile(path));

    if (!file.save()) {
        FUZZ_CHECK(std::any_of(accepted.cbegin(), accepted.cend(),
                               [&](const Entry &entry) { return !canCarry(theirs, entry); }));
        FUZZ_CHECK(file.hasUnsavedChanges() && readScratch(path) == theirs);
        return;
    }
    checkWritten(file, changes);
    checkWritten(ProfileFile(path), changes);
    checkUntouched(path, others, accepted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = inputBytes(data, size);
    checkWritesAndRemovals(input);
    checkAnotherWriter(input.left(input.size() / 2), input.mid(input.size() / 2));
    return 0;
}
