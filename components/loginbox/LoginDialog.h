#pragma once
// The password box: user name and password checked against tb_user over the component's own
// connection; a wrong pair is refused in the dialog, which stays open for another try.

#include "extensions/ComponentAbi.h"

#include <QDialog>

class QLineEdit;

namespace dbkeel {

class SharedDb;

// The user's row of tb_user when the password matches.
struct LoginCheck {
    enum Result { Accepted, Refused, DatabaseFailed } result = Refused;
    QString error;  // the driver's text for DatabaseFailed
    QString userName, trueName, workId;
    int level = -1;
};
LoginCheck checkLogin(SharedDb &db, const QString &userName, const QString &password);

// Writes the user into the record (texts cut to their widths in GBK).
void fillUserRecord(UserRecord &record, const LoginCheck &user);

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(SharedDb &db, QWidget *parent = nullptr);
    // The accepted user, valid after the dialog was accepted.
    const LoginCheck &user() const { return m_user; }

private:
    void tryLogin();

    SharedDb &m_db;
    QLineEdit *m_userName;
    QLineEdit *m_password;
    LoginCheck m_user;
};

}  // namespace dbkeel
