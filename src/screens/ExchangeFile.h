#pragma once
// Exchange files: profile (INI) files in GBK with CRLF lines, written through ProfileFile so
// that a file of the same name is merged into (keys written replace older ones, everything
// else stays). A dictionary file holds one section named after its table, the keys "0", "1", …
// in export order, each a record of comma-terminated fields, and NUM with the record count.

#include "platform/Prompt.h"

#include <QString>
#include <QStringList>

namespace dbkeel {

class ProfileFile;

// The most an import reads back of NUM, of a record and of each field (GBK bytes).
inline constexpr int kExchangeNumWidth = 100;
inline constexpr int kExchangeRecordWidth = 490;
inline constexpr int kExchangeFieldBytes = 100;

// The installation's system configuration directory (host configuration entry 3), else
// "D:\ZETRA\SYSTEM\CONFIG\": where the import dialogs start and default files lie.
QString configurationFolder();
// The chosen folder with one trailing separator removed (when longer than one character).
QString exchangeFolder(const QString &chosen);
// "%s\%s%s": folder, file name and extension, with the platform's separator.
QString exchangeFilePath(const QString &folder, const QString &name, const QString &extension);
// The open-file dialog of an import: default extension "txt", the configuration folder with
// "*<extension>", and the filters "open files (*<extension>)" and "ALL files (*.*)".
FileRequest importFileRequest(const QString &extension);

// A record: every field followed by a comma.
QString exchangeRecord(const QStringList &fields);
// True when `field` survives a record: no comma, no line break, GBK text.
bool canCarryField(const QString &field);
// Field `index` (from 0) of a record, through the host library's GetField, cut to `maxBytes` bytes of
// GBK; empty when missing.
QString exchangeField(const QString &record, int index, int maxBytes = kExchangeFieldBytes);

// Why the file at `path` cannot be a whole exchange file as an export writes it: empty, or the
// reason (missing, empty, or its last line cut without its line end).
QString cutFileProblem(const QString &path);
// A count as an export writes it: decimal digits only, at most nine; -1 for anything else.
int plainCount(const QString &text);

// Writes the records under the keys 0.. and NUM, then saves the file. False with `error`.
bool writeExchangeRecords(const QString &path, const QString &section, const QStringList &records, QString *error);
// The numbers n, in number order, of the keys "<keyPrefix><n>" (n in decimal) that the section holds
// with 0 <= n < NUM. Only the keys present are visited, so a file claiming a huge NUM costs no more
// than its keys; a missing section or NUM gives none.
QList<int> exchangeKeys(const ProfileFile &file, const QString &section, const QString &keyPrefix);
// The records under the keys 0 .. NUM-1 that the section holds, in number order; empty ones are left out.
QStringList readExchangeRecords(const QString &path, const QString &section);

}  // namespace dbkeel
