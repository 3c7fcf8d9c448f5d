#pragma once
// The backup manager's screen: back the database up into a file the user chooses, restore it from
// one after a confirmation; a status line and a progress bar tell how it went.

#include "components/backup/DatabaseBackup.h"
#include "extensions/ComponentAbi.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace dbkeel {

class BackupDialog : public QDialog {
    Q_OBJECT
public:
    // `control` is the program's hand-shake for its open connection; null when there is none.
    BackupDialog(const BackupSource &source, const DbkeelConnectionControl *control, QWidget *parent = nullptr);

    QString status() const;

    // The buttons' work: ask for the file (and the confirmation), then back up or restore.
    void backUp();
    void restore();

private:
    bool backUpTo(const QString &file, QString &error);
    bool restoreFrom(const QString &file, QString &error);
    void setStatus(const QString &text);

    BackupSource m_source;
    const DbkeelConnectionControl *m_control;
    QLabel *m_status;
    QProgressBar *m_progress;
};

}  // namespace dbkeel
