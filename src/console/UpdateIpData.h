#pragma once
// The station row editor: address, port, brake-tester type, station-area code, device path and
// remark. With both the path and the remark "-1" only the address and the port mean anything.

#include "ScreenDialog.h"

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace dbkeel {

struct StationRowRecord {
    QString address, port, brakeType, areaCode, devicePath, deviceRemark;

    static StationRowRecord addressOnly(const QString &address, const QString &port);
    bool isAddressOnly() const;
};

class UpdateIpData : public ScreenDialog {
    Q_OBJECT

public:
    UpdateIpData(QWidget *parent, const StationRowRecord &record);

    // The six texts as typed when "确定" closed the editor, each cut to its limit.
    StationRowRecord record() const { return m_record; }
    // "...": a device library chosen through the prompt, its version texts as the remark.
    void chooseDevicePath();

private:
    QLineEdit *lineEdit(const QString &label, const QString &name, const QString &text, int top);
    void readBack();

    StationRowRecord m_record;
    QLineEdit *m_address = nullptr, *m_port = nullptr, *m_areaCode = nullptr, *m_path = nullptr, *m_remark = nullptr;
    QComboBox *m_brakeType = nullptr;
    QPushButton *m_browse = nullptr;
};

// A double-click on a line-tree node: for a station or computer node with a registry entry, the
// address editor (address-only mode) and then ApplyAddress. The node's new text, or nullopt when
// nothing changed.
std::optional<QString> ChangeAddress(QWidget *parent, const QString &nodeText, quintptr treeNode);

}  // namespace dbkeel
