#pragma once
// The item-parameter verification screen over an ItemParamCheckEditor.

#include "maintenance/ItemParamCheckEditor.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class ItemParamCheckDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit ItemParamCheckDialog(QWidget *parent = nullptr);
    ItemParamCheckEditor &editor() { return m_editor; }

private:
    ItemParamCheckEditor m_editor;
};

}  // namespace dbkeel
