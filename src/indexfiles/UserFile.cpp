#include "indexfiles/UserFile.h"

#include "platform/Gbk.h"

#include <QtEndian>

namespace dbkeel {

namespace {

void putRecord(char *record, const UserEntry &user)
{
    using namespace userfile;
    putGbkField(record + kUserName, kTextWidth, user.userName);
    putGbkField(record + kTrueName, kTextWidth, user.trueName);
    qToLittleEndian<qint32>(user.userType, record + kUserType);
    putGbkField(record + kInsertDate, kTextWidth, user.insertDate);
    putGbkField(record + kWorkId, kTextWidth, user.workId);
    putGbkField(record + kPassword, kTextWidth, user.password);
}

}  // namespace

QByteArray encodeUserFile(const QList<UserEntry> &users)
{
    using namespace userfile;
    QByteArray bytes(kFileSize, '\0');
    const int count = int(qMin<qsizetype>(users.size(), kMaxUsers));
    qToLittleEndian<qint32>(count, bytes.data());
    for (int n = 0; n < count; ++n)
        putRecord(bytes.data() + 4 + n * kRecordSize, users.at(n));
    return bytes;
}

}  // namespace dbkeel
