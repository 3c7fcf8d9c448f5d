#pragma once
// LineLayoutDialog: the line, station and device layout over a LineLayoutEditor, with its
// duplicate-item window LayoutDuplicatesDialog.

#include "composition/LineLayoutEditor.h"
#include "screens/ScreenDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace dbkeel {

class IpAddressEdit;
class ReportListView;

// "重复项目信息框": the items that a line provides more than once; its buttons only hide it.
class LayoutDuplicatesDialog : public ScreenDialog {
    Q_OBJECT

public:
    LayoutDuplicatesDialog(ReportListModel &duplicates, LineLayoutEditor &editor, QWidget *parent);
};

class LineLayoutDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit LineLayoutDialog(QWidget *parent = nullptr);

    LineLayoutEditor &editor() { return m_editor; }

private:
    void placeInputs();
    void placeButtons();
    void connectList();
    void showLoaded();  // after the opening timer: the selectors filled from what the editor loaded
    PlacementInput input() const;
    void addRow();
    void chooseDevicePath();
    void build();

    LineLayoutEditor m_editor;
    ReportListView *m_list = nullptr;
    LayoutDuplicatesDialog *m_duplicates = nullptr;
    QComboBox *m_line = nullptr, *m_lineType = nullptr, *m_station = nullptr, *m_device = nullptr;
    QComboBox *m_brakeType = nullptr, *m_areaCode = nullptr;
    IpAddressEdit *m_address = nullptr;
    QLineEdit *m_port = nullptr, *m_bodyCode = nullptr, *m_netId = nullptr;
    QLineEdit *m_devicePath = nullptr, *m_remark = nullptr;
    QLabel *m_deviceCode = nullptr;
};

}  // namespace dbkeel
