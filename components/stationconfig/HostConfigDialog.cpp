#include "components/stationconfig/HostConfigDialog.h"

#include "platform/Profile.h"
#include "platform/Text.h"
#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dbkeel {

const QString HostConfigDialog::kSection = QStringLiteral("HOSTCFG");

HostConfigDialog::HostConfigDialog(const QString &configFile, QWidget *parent)
    : QDialog(parent), m_file(std::make_unique<ProfileFile>(configFile)), m_entries(new ReportListModel(this)),
      m_view(new ReportListView(this)), m_number(new QLineEdit(this)), m_text(new QLineEdit(this)),
      m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("HostConfigDialog"));
    setWindowTitle(QStringLiteral("工位配置管理器"));
    m_entries->setColumns(QStringLiteral("编号,60;配置内容,520"));
    m_view->setModel(m_entries);
    m_view->setExtendedStyle(ReportListView::GridFullRowStyle);
    m_number->setObjectName(QStringLiteral("number"));
    m_text->setObjectName(QStringLiteral("text"));
    m_status->setObjectName(QStringLiteral("status"));

    auto *apply = new QPushButton(QStringLiteral("修改"), this);
    auto *saveButton = new QPushButton(QStringLiteral("保存"), this);
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    apply->setObjectName(QStringLiteral("apply"));
    saveButton->setObjectName(QStringLiteral("save"));
    connect(apply, &QPushButton::clicked, this, [this] { setEntry(toInt(m_number->text()), m_text->text()); });
    connect(saveButton, &QPushButton::clicked, this, &HostConfigDialog::save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_view, &QAbstractItemView::clicked, this, &HostConfigDialog::showSelected);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_view, 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("编号:"), this), 1, 0);
    grid->addWidget(m_number, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("内容:"), this), 1, 2);
    grid->addWidget(m_text, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(apply);
    buttons->addWidget(saveButton);
    buttons->addWidget(close);
    grid->addLayout(buttons, 2, 0, 1, 4);
    resize(640, 420);
    loadEntries();
}

HostConfigDialog::~HostConfigDialog() = default;

void HostConfigDialog::loadEntries()
{
    m_entries->deleteAllRows();
    for (const QString &key : m_file->keyNames(kSection)) {
        bool isNumber = false;
        const int number = key.toInt(&isNumber);
        if (!isNumber || number < 0 || number >= kEntryCount)
            continue;
        const int row = m_entries->appendRow(QString::number(number));
        m_entries->setItemText(row, 1, m_file->readString(kSection, key, {}, 616));
    }
    m_entries->sort(0);
    m_status->setText(QStringLiteral("共%1项:%2").arg(QString::number(m_entries->rowCount()), m_file->path()));
}

void HostConfigDialog::showSelected(const QModelIndex &index)
{
    m_number->setText(m_entries->itemText(index.row(), 0));
    m_text->setText(m_entries->itemText(index.row(), 1));
}

int HostConfigDialog::rowOf(int number) const
{
    for (int row = 0; row < m_entries->rowCount(); ++row)
        if (m_entries->itemText(row, 0) == QString::number(number))
            return row;
    return -1;
}

bool HostConfigDialog::setEntry(int number, const QString &text)
{
    if (number < 0 || number >= kEntryCount) {
        m_status->setText(QStringLiteral("编号必须在0到%1之间").arg(kEntryCount - 1));
        return false;
    }
    if (!m_file->writeString(kSection, QString::number(number), text)) {
        m_status->setText(m_file->lastError());
        return false;
    }
    int row = rowOf(number);
    if (row < 0) {
        row = m_entries->appendRow(QString::number(number));
        m_entries->sort(0);
        row = rowOf(number);
    }
    m_entries->setItemText(row, 1, text);
    m_status->setText(QStringLiteral("第%1项已修改,尚未保存").arg(number));
    return true;
}

bool HostConfigDialog::save()
{
    if (!m_file->save()) {
        m_status->setText(QStringLiteral("保存失败:") + m_file->lastError());
        return false;
    }
    m_status->setText(QStringLiteral("已保存:") + m_file->path());
    return true;
}

QString HostConfigDialog::status() const
{
    return m_status->text();
}

}  // namespace dbkeel
