#pragma once
// Helpers shared by the test programs.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace dbkeel::test {

// Folder with the built programs and libraries (set by ctest).
QString buildBinDir();
// The project's source folder (set by ctest).
QString sourceDir();

QByteArray readFileBytes(const QString &path);
void writeFileBytes(const QString &path, const QByteArray &bytes);

}  // namespace dbkeel::test
