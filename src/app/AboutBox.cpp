#include "app/AboutBox.h"

#include "app/MainWindow.h"
#include "core/AppConfig.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dbkeel {

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("关于 Dbkeel"));
    auto *icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(48, 48));
    const QString version = ProgramVersion().isEmpty() ? QStringLiteral("-") : ProgramVersion();
    auto *text = new QLabel(QStringLiteral("Dbkeel 数据库管理工具\n版本: %1").arg(version), this);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto *column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(buttons);
}

}  // namespace dbkeel
