#pragma once
// "添加其他计算机": the registration machines and other computers of tb_login_ip_info.

#include "LoginComputers.h"
#include "ScreenDialog.h"

#include <memory>

class QComboBox;
class QLineEdit;

namespace dbkeel {

class ReportListView;

class AddLoginIP : public ScreenDialog {
    Q_OBJECT

public:
    explicit AddLoginIP(QWidget *parent = nullptr);

    ReportListModel &list();

private:
    QLineEdit *lineEdit(const QString &label, const QString &name, int top);
    void add();
    void deleteClickedRow(const QModelIndex &index);
    void save();
    QWidget *controlOf(LoginField field) const;

    ReportListView *m_view = nullptr;
    QLineEdit *m_name = nullptr, *m_number = nullptr, *m_ip = nullptr, *m_port = nullptr;
    QComboBox *m_type = nullptr;
    std::unique_ptr<LoginComputers> m_computers;
};

}  // namespace dbkeel
