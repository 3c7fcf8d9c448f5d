// Base ID bundles and line files: any bytes read as a bundle the way its import checks it before a
// table is touched, and as a line file the way the layout screen reads it.

#include "composition/BaseBundle.h"
#include "composition/LineLayoutEditor.h"
#include "core/HostLib.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace dbkeel;
using namespace dbkeel::fuzz;

namespace {

// A bundle the check lets through has, in every section it holds, NUM records of one field per column.
void readBundle(const QString &path)
{
    const ProfileFile file(path);
    if (!bundleFileDamage(file).isEmpty())
        return;
    for (const BundleSection &section : bundleSections()) {
        const int count = toInt(file.readString(section.table, QStringLiteral("NUM"), QString(), 101));
        FUZZ_CHECK(count >= 0);
        for (int k = 0; k < count; ++k) {
            const QString record = file.readString(section.table, QString::number(k), QString(), 4001);
            FUZZ_CHECK(record.endsWith(u',') && record.count(u',') == section.columns.size());
        }
    }
}

void readLines(const QString &path)
{
    const std::optional<QList<QStringList>> records = readLineRecords(path);
    if (!records)
        return;
    for (const QStringList &fields : *records)
        FUZZ_CHECK(fields.size() == LineLayoutEditor::ColumnCount);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FUZZ_CHECK(hostLib().load(1, QStringLiteral(DBKEEL_HOST_LIBRARY_DIR)) == 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = scratchPath(QStringLiteral("input.ALLINE"));
    writeScratch(path, inputBytes(data, size));
    readBundle(path);
    readLines(path);
    return 0;
}
