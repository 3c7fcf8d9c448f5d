#pragma once
// Profile (INI) files, read and written the way the installation's Windows programs
// read and write them: names matched without regard to ASCII case, the first of
// duplicate sections and keys wins, one enclosing pair of quotes removed on reading,
// writes that keep every unrelated line byte for byte (a replaced key keeps its place,
// spelling and line end; a new key goes after the last non-blank line of its section;
// a new section goes at the end), CRLF for lines we add, GBK content (a file with a
// UTF-8 or UTF-16 byte-order mark keeps its encoding).
//
// A ProfileFile parses the file once and keeps it; writes change the memory copy
// until save() writes the file whole (temporary name in the same folder, then rename).
// Before every call it checks the file's modification time, size and identity; when
// another process changed the file it is parsed again and the unsaved writes of
// this object are applied once more on top of it, so neither side's changes are lost.
// Not thread-safe: one object belongs to one thread.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace dbkeel {

class ProfileFile {
public:
    explicit ProfileFile(const QString &path);
    ~ProfileFile();
    ProfileFile(ProfileFile &&) noexcept;
    ProfileFile &operator=(ProfileFile &&) noexcept;

    QString path() const;

    // `width` is the reader's buffer size in GBK bytes: at most width-1 bytes come back,
    // cut at a character boundary; a width of 0 or less gives the empty text.
    QString readString(const QString &section, const QString &key, const QString &defaultValue, int width) const;
    // readString for each of `keys`, after one look at the file: a long run of reads checks it once.
    QStringList readStrings(const QString &section, const QStringList &keys, const QString &defaultValue,
                            int width) const;
    // Empty or missing value: the default; otherwise the C atoi of the value.
    int readInt(const QString &section, const QString &key, int defaultValue) const;
    // Names in file order, each once (first spelling).
    QStringList sectionNames() const;
    // Keys with an '=' of the first section of that name, each once.
    QStringList keyNames(const QString &section) const;

    // A null key removes the section, a null value removes the key. False, with
    // lastError(), for an empty section name or for names and values the file cannot
    // carry (line breaks, a key with '=' or starting with '[' or ';', text outside GBK).
    bool writeString(const QString &section, const QString &key, const QString &value);
    // writeString for each key with the value of the same place, after one look at the file: a long run of
    // writes checks it once. Stops at the first write that fails.
    bool writeStrings(const QString &section, const QStringList &keys, const QStringList &values);
    bool removeKey(const QString &section, const QString &key);
    bool removeSection(const QString &section);

    bool hasUnsavedChanges() const;
    // Writes the file if it changed. False, with the file on disk untouched and no
    // temporary left, when the folder is missing or not writable, when the file
    // exists but could not be read (saving would replace what we never saw), or when
    // another process rewrote it in an encoding that cannot carry an unsaved write.
    bool save();
    QString lastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// One-shot calls shaped like the platform functions: each read parses the file,
// each write rewrites it at once (nothing is written when the value is unchanged).
QString readProfileString(const QString &path, const QString &section, const QString &key, const QString &defaultValue,
                          int width);
int readProfileInt(const QString &path, const QString &section, const QString &key, int defaultValue);
bool writeProfileString(const QString &path, const QString &section, const QString &key, const QString &value);

}  // namespace dbkeel
