#pragma once
// The item-parameter verification screen over an ItemParamCheckEditor.

#include "ItemParamCheckEditor.h"
#include "ScreenDialog.h"

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
