#pragma once
// "UserID.dat": the user list the inspection programs read. Little-endian, always 203204 bytes: the
// count (int32), then 200 records of 1016 bytes with the GBK texts NUL-terminated at their offsets;
// every byte outside the fields is zero.

#include <QByteArray>
#include <QList>
#include <QString>

namespace dbkeel {

struct UserEntry {
    QString userName;
    QString trueName;
    int userType = 0;
    QString insertDate;
    QString workId;  // column UserWrokID
    QString password;
};

namespace userfile {
inline constexpr int kMaxUsers = 200;
inline constexpr int kRecordSize = 1016;
inline constexpr int kFileSize = 4 + kMaxUsers * kRecordSize;
inline constexpr int kTextWidth = 100;  // each text field, its NUL included
inline constexpr int kUserName = 0, kTrueName = 100, kUserType = 200, kInsertDate = 716, kWorkId = 816, kPassword = 916;
}  // namespace userfile

// The file's bytes for the first 200 of `users` (the format has no room for more).
QByteArray encodeUserFile(const QList<UserEntry> &users);

}  // namespace dbkeel
