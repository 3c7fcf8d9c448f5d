#pragma once
// SetDevItem and SetItemParam: one device's items, or one item's parameters, over a RelationEditor.

#include "RelationEditor.h"
#include "ScreenDialog.h"

namespace dbkeel {

class RelationScreen : public ScreenDialog {
    Q_OBJECT

public:
    RelationScreen(const RelationVariant &variant, QWidget *parent = nullptr);

    RelationEditor &editor() { return m_editor; }

private:
    RelationEditor m_editor;
};

}  // namespace dbkeel
