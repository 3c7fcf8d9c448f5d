#pragma once
// The station row editor over a StationRowRecord: address, port, brake-tester type, station-area
// code, device path and remark; in address-only mode the device controls are disabled.

#include "console/StationRowEditor.h"
#include "screens/ScreenDialog.h"

#include <optional>

class QComboBox;
class QLineEdit;

namespace dbkeel {

class IpAddressEdit;

class StationRowDialog : public ScreenDialog {
    Q_OBJECT

public:
    StationRowDialog(QWidget *parent, const StationRowRecord &record);
    // Opens the editor on `record` modally through prompt(); on 确定 `record` takes what was typed
    // and true is returned.
    static bool edit(QWidget *parent, StationRowRecord &record);

private:
    void chooseDevicePath();
    void readBack();

    StationRowRecord m_record;  // the six texts as typed when "确定" closed the editor, each cut to its limit
    IpAddressEdit *m_address = nullptr;
    QLineEdit *m_port = nullptr, *m_areaCode = nullptr, *m_path = nullptr, *m_remark = nullptr;
    QComboBox *m_brakeType = nullptr;
};

// A double-click on a line-tree node: for a station or computer node with a registry entry, the
// address editor (address-only mode) and then ApplyAddress. The node's new text, or nullopt when
// nothing changed.
std::optional<QString> ChangeAddress(QWidget *parent, const QString &nodeText, quintptr treeNode);

}  // namespace dbkeel
