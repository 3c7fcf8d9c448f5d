#include "screens/ExchangeFile.h"

#include "core/Database.h"
#include "core/HostLib.h"
#include "platform/FileWrite.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <QRegularExpression>

#include <algorithm>

namespace dbkeel {

namespace {

const QString kNum = QStringLiteral("NUM");

}  // namespace

QString configurationFolder()
{
    const QString folder = databaseEntryField(hostEntry::ConfigDir, 0);
    return folder.isEmpty() ? QStringLiteral("D:\\ZETRA\\SYSTEM\\CONFIG\\") : folder;
}

QString exchangeFolder(const QString &chosen)
{
    if (chosen.size() > 1 && (chosen.endsWith(u'\\') || chosen.endsWith(u'/')))
        return chosen.chopped(1);
    return chosen;
}

QString exchangeFilePath(const QString &folder, const QString &name, const QString &extension)
{
    return joinPath(folder, name + extension);
}

FileRequest importFileRequest(const QString &extension)
{
    FileRequest request;
    request.initialPath = joinPath(configurationFolder(), QStringLiteral("*") + extension);
    request.filter = QStringLiteral("open files (*%1)|*%1|ALL files (*.*)|*.*||").arg(extension);
    request.defaultExtension = QStringLiteral("txt");
    request.mode = FileRequest::Open;
    return request;
}

QString exchangeRecord(const QStringList &fields)
{
    QString record;
    for (const QString &field : fields)
        record += field + u',';
    return record;
}

bool canCarryField(const QString &field)
{
    return !field.contains(u',') && !field.contains(u'\r') && !field.contains(u'\n') && isGbkText(field);
}

QString exchangeField(const QString &record, int index, int maxBytes)
{
    QByteArray field;
    if (hostLib().getField(toGbk(record), field, index) <= 0)
        return {};
    return fromGbk(cutGbkBytes(field, maxBytes));
}

QString cutFileProblem(const QString &path)
{
    QString error;
    const std::optional<QByteArray> bytes = readRegularFile(path, &error);
    if (!bytes)
        return error;
    if (bytes->isEmpty())
        return QStringLiteral("文件为空");
    if (!bytes->endsWith('\n') && !bytes->endsWith('\r'))
        return QStringLiteral("最后一行不完整(文件被截断)");
    return {};
}

int plainCount(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    return digits.match(text).hasMatch() ? text.toInt() : -1;
}

bool writeExchangeRecords(const QString &path, const QString &section, const QStringList &records, QString *error)
{
    ProfileFile file(path);
    bool written = true;
    for (int k = 0; k < records.size() && written; ++k)
        written = file.writeString(section, QString::number(k), records.at(k));
    written = written && file.writeString(section, kNum, QString::number(records.size())) && file.save();
    if (!written && error)
        *error = file.lastError();
    return written;
}

QList<int> exchangeKeys(const ProfileFile &file, const QString &section, const QString &keyPrefix)
{
    const int count = toInt(file.readString(section, kNum, QStringLiteral("0"), kExchangeNumWidth + 1));
    QList<int> keys;
    for (const QString &key : file.keyNames(section)) {
        if (!key.startsWith(keyPrefix, Qt::CaseInsensitive))
            continue;
        const QStringView number = QStringView(key).mid(keyPrefix.size());
        bool numeric = false;
        const int n = number.toInt(&numeric);
        if (numeric && n >= 0 && n < count && number == QString::number(n))
            keys << n;
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

QStringList readExchangeRecords(const QString &path, const QString &section)
{
    const ProfileFile file(path);
    QStringList records;
    for (int k : exchangeKeys(file, section, QString())) {
        const QString record = file.readString(section, QString::number(k), QString(), kExchangeRecordWidth + 1);
        if (!record.isEmpty())
            records << record;
    }
    return records;
}

}  // namespace dbkeel
