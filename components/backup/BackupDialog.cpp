#include "components/backup/BackupDialog.h"

#include "components/ComponentSupport.h"
#include "core/SharedDb.h"
#include "platform/Prompt.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace dbkeel {

namespace {

const QString kFilter = QStringLiteral("数据库备份文件 (*.bak);;所有文件 (*)");

}  // namespace

BackupDialog::BackupDialog(const BackupSource &source, const DbkeelConnectionControl *control, QWidget *parent)
    : QDialog(parent), m_source(source), m_control(control), m_status(new QLabel(this)),
      m_progress(new QProgressBar(this))
{
    setObjectName(QStringLiteral("BackupDialog"));
    setWindowTitle(QStringLiteral("数据库数据备份还原"));
    m_status->setObjectName(QStringLiteral("status"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    auto *backUpButton = new QPushButton(QStringLiteral("备份数据库(&B)"), this);
    auto *restoreButton = new QPushButton(QStringLiteral("还原数据库(&R)"), this);
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    backUpButton->setObjectName(QStringLiteral("backUp"));
    restoreButton->setObjectName(QStringLiteral("restore"));
    connect(backUpButton, &QPushButton::clicked, this, &BackupDialog::backUp);
    connect(restoreButton, &QPushButton::clicked, this, &BackupDialog::restore);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(backUpButton);
    buttons->addWidget(restoreButton);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("数据源:%1").arg(source.dataSource), this));
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    setStatus(source.isFile() ? QStringLiteral("数据库文件:%1").arg(source.databaseFile)
                              : QStringLiteral("数据库服务器上的数据库"));
}

QString BackupDialog::status() const
{
    return m_status->text();
}

void BackupDialog::setStatus(const QString &text)
{
    m_status->setText(text);
}

void BackupDialog::backUp()
{
    FileRequest request;
    request.title = QStringLiteral("备份数据库到");
    request.initialPath = QStringLiteral("dbkeel-%1.bak")
                              .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")));
    request.filter = kFilter;
    request.defaultExtension = QStringLiteral("bak");
    request.mode = FileRequest::Save;
    const QString file = prompt().chooseFile(request);
    if (file.isEmpty())
        return;
    setStatus(QStringLiteral("正在备份..."));
    QString error;
    if (backUpTo(file, error))
        setStatus(QStringLiteral("备份完成:%1").arg(file));
    else
        setStatus(QStringLiteral("备份失败:%1").arg(error));
}

void BackupDialog::restore()
{
    FileRequest request;
    request.title = QStringLiteral("选择要还原的备份文件");
    request.filter = kFilter;
    request.mode = FileRequest::Open;
    const QString file = prompt().chooseFile(request);
    if (file.isEmpty())
        return;
    if (prompt().message(QStringLiteral("询问"),
                         QStringLiteral("确定用备份文件%1还原数据库?当前数据库的数据将被替换!").arg(file),
                         PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel)
        != PromptButton::Ok)
        return;
    setStatus(QStringLiteral("正在还原..."));
    QString error;
    if (restoreFrom(file, error))
        setStatus(QStringLiteral("还原完成:%1").arg(file));
    else
        setStatus(QStringLiteral("还原失败:%1").arg(error));
}

bool BackupDialog::backUpTo(const QString &file, QString &error)
{
    m_progress->setValue(0);
    if (m_source.isFile())
        return backupSqliteFile(m_source.databaseFile, file, error,
                                [this](int percent) { m_progress->setValue(percent); });
    SharedDb db;
    return openConfiguredDatabase(db, error) && backupSqlServer(db, file, error);
}

bool BackupDialog::restoreFrom(const QString &file, QString &error)
{
    m_progress->setValue(0);
    SharedDb server;
    if (!m_source.isFile() && !openConfiguredDatabase(server, error))
        return false;
    // The program's connection is closed for the restore and opened again afterwards, whatever happened.
    if (m_control && m_control->closeConnection && !m_control->closeConnection(m_control->context)) {
        error = QStringLiteral("程序无法关闭数据库连接");
        return false;
    }
    const bool restored = m_source.isFile() ? restoreSqliteFile(file, m_source.databaseFile, error,
                                                                [this](int percent) { m_progress->setValue(percent); })
                                            : restoreSqlServer(server, file, error);
    if (m_control && m_control->reopenConnection && !m_control->reopenConnection(m_control->context) && restored) {
        error = QStringLiteral("数据库已还原,但程序无法重新连接数据库");
        return false;
    }
    return restored;
}

}  // namespace dbkeel
