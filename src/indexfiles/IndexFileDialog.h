#pragma once
// "系统必须索引文件建立": builds the system index file and the user file over an IndexFileEditor.

#include "indexfiles/IndexFileEditor.h"
#include "screens/ScreenDialog.h"

namespace dbkeel {

class IndexFileDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit IndexFileDialog(QWidget *parent = nullptr);
    IndexFileEditor &editor() { return m_editor; }

private:
    IndexFileEditor m_editor;
};

}  // namespace dbkeel
