#include "TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace dbkeel::test {

QString buildBinDir() { return qEnvironmentVariable("DBKEEL_BUILD_BIN"); }
QString sourceDir() { return qEnvironmentVariable("DBKEEL_SOURCE_DIR"); }

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
        return;
    }
    file.write(bytes);
}

}  // namespace dbkeel::test
