#pragma once
// BundleDialog: export and import of the base ID bundle and the one-key build, over a BundleEditor.

#include "composition/BundleEditor.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class BundleDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit BundleDialog(QWidget *parent = nullptr);

    BundleEditor &editor() { return m_editor; }

private:
    BundleEditor m_editor;
};

}  // namespace dbkeel
