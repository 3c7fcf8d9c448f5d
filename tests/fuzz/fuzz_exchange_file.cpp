// Exchange files: any bytes as a dictionary file and as an external-inspection item file, read the
// way the imports read them (NUM, the numbered keys, each record's fields through the host
// library), and the records read written out again as an export would and read back.

#include "core/HostLib.h"
#include "platform/Gbk.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "screens/ExchangeFile.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QFile>

#include <algorithm>

using namespace dbkeel;
using namespace dbkeel::fuzz;

namespace {

const QString kDictionarySection = QStringLiteral("tb_id_devid");
const QString kItemSection = QStringLiteral("OFFLINE");
constexpr int kFieldsRead = 5;  // one more than the widest record has

QStringList fieldsOf(const QString &record)
{
    QStringList fields;
    for (int i = 0; i < kFieldsRead; ++i) {
        const QString field = exchangeField(record, i);
        FUZZ_CHECK(gbkLength(field) <= kExchangeFieldBytes);
        fields << field;
    }
    return fields;
}

// A record an export writes reads back whole when its fields fit and the first has no leading blank.
bool survivesExport(const QStringList &fields)
{
    const QString record = exchangeRecord(fields);
    return std::all_of(fields.cbegin(), fields.cend(), canCarryField) && gbkLength(record) <= kExchangeRecordWidth
           && record == trimLeft(record);
}

// Writes the records as an export does, into a new file, and reads them back.
void checkExportReadsBack(const QList<QStringList> &rows)
{
    const QString path = scratchPath(QStringLiteral("export.TBIDDEV"));
    QFile::remove(path);
    QStringList records;
    for (const QStringList &fields : rows)
        if (survivesExport(fields))
            records << exchangeRecord(fields);
    QString error;
    FUZZ_CHECK(writeExchangeRecords(path, kDictionarySection, records, &error));
    const QStringList back = readExchangeRecords(path, kDictionarySection);
    FUZZ_CHECK(back == records);
    for (qsizetype k = 0; k < records.size(); ++k)
        FUZZ_CHECK(fieldsOf(back[k]) == fieldsOf(records[k]));
}

void readDictionaryFile(const QString &path)
{
    QList<QStringList> rows;
    for (const QString &record : readExchangeRecords(path, kDictionarySection)) {
        FUZZ_CHECK(!record.isEmpty() && gbkLength(record) <= kExchangeRecordWidth);
        rows << fieldsOf(record);
    }
    checkExportReadsBack(rows);
}

// The external-inspection items: five keys for each number the file holds below NUM, in number order.
void readItemFile(const QString &path)
{
    const ProfileFile file(path);
    const QList<int> keys = exchangeKeys(file, kItemSection, QStringLiteral("ID_"));
    FUZZ_CHECK(std::is_sorted(keys.cbegin(), keys.cend()));
    for (int k : keys)
        for (const char *key : {"ID_", "VAL_", "TYPE_", "REMARK_", "ALIAS_"}) {
            const QString value = file.readString(kItemSection, QLatin1String(key) + QString::number(k), QString(),
                                                  kExchangeFieldBytes + 1);
            FUZZ_CHECK(gbkLength(value) <= kExchangeFieldBytes);
        }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FUZZ_CHECK(hostLib().load(1, QStringLiteral(DBKEEL_HOST_LIBRARY_DIR)) == 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = scratchPath(QStringLiteral("import.txt"));
    writeScratch(path, inputBytes(data, size));
    readDictionaryFile(path);
    readItemFile(path);
    return 0;
}
