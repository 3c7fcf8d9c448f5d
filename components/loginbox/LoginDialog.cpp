#include "components/loginbox/LoginDialog.h"

#include "components/ComponentSupport.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "platform/Gbk.h"
#include "platform/Prompt.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace dbkeel {

namespace {

template <size_t N>
void putText(char (&field)[N], const QString &text)
{
    putGbkField(field, int(N), text);
}

}  // namespace

LoginCheck checkLogin(SharedDb &db, const QString &userName, const QString &password)
{
    LoginCheck check;
    try {
        SqlCursor cursor = db.query(
            QStringLiteral("select UserName, TrueName, Password, UserType, UserWrokID from tb_user where UserName = %1")
                .arg(sqlText(userName)));
        // Trailing blanks are removed from every column read, so they never count in a password.
        if (!cursor.next() || cursor.text(QStringLiteral("Password")) != password)
            return check;
        check.result = LoginCheck::Accepted;
        check.userName = cursor.text(QStringLiteral("UserName"));
        check.trueName = cursor.text(QStringLiteral("TrueName"));
        check.workId = cursor.text(QStringLiteral("UserWrokID"));
        check.level = cursor.toInt(QStringLiteral("UserType"));
    } catch (const DbError &error) {
        check.result = LoginCheck::DatabaseFailed;
        check.error = error.text();
    }
    return check;
}

void fillUserRecord(UserRecord &record, const LoginCheck &user)
{
    putText(record.userId, user.userName);
    putText(record.secondText, user.workId);
    putText(record.displayText, user.trueName);
    record.level = user.level;
    putText(record.furtherText, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

LoginDialog::LoginDialog(SharedDb &db, QWidget *parent)
    : QDialog(parent), m_db(db), m_userName(new QLineEdit(this)), m_password(new QLineEdit(this))
{
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QStringLiteral("用户登录"));
    m_userName->setObjectName(QStringLiteral("userName"));
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::tryLogin);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("用户名:"), m_userName);
    form->addRow(QStringLiteral("密码:"), m_password);
    form->addRow(buttons);
}

void LoginDialog::tryLogin()
{
    QString error;
    if (!openConfiguredDatabase(m_db, error)) {
        prompt().message(QStringLiteral("提示"), QStringLiteral("连接数据库失败:") + error, PromptIcon::Exclamation);
        return;
    }
    const LoginCheck check = checkLogin(m_db, m_userName->text(), m_password->text());
    switch (check.result) {
    case LoginCheck::Accepted:
        m_user = check;
        accept();
        return;
    case LoginCheck::DatabaseFailed:
        prompt().message(QStringLiteral("提示"), QStringLiteral("查询用户失败:") + check.error,
                         PromptIcon::Exclamation);
        return;
    case LoginCheck::Refused:
        prompt().message(QStringLiteral("提示"), QStringLiteral("用户名或密码错误,请重新输入!"),
                         PromptIcon::Exclamation);
        m_password->clear();
        m_password->setFocus();
        return;
    }
}

}  // namespace dbkeel
