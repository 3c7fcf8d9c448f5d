#pragma once
// DeviceItemRelationDialog and ItemParameterRelationDialog: one device's items, or one item's parameters, over a
// RelationEditor.

#include "composition/RelationEditor.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class RelationDialog : public ScreenDialog {
    Q_OBJECT

public:
    RelationDialog(const RelationVariant &variant, QWidget *parent = nullptr);

    RelationEditor &editor() { return m_editor; }

private:
    RelationEditor m_editor;
};

}  // namespace dbkeel
