#pragma once
// The statistics table builder "建立统计表" over a StatTableEditor.

#include "screens/ScreenDialog.h"
#include "stats/StatTableEditor.h"

namespace dbkeel {

class StatTableDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit StatTableDialog(QWidget *parent = nullptr, const QString &libraryPath = statisticsLibraryPath());
    StatTableEditor &editor() { return m_editor; }

    // Cancel and the close box: the library is released unless a build still runs (then the window stays).
    void reject() override;

private:
    StatTableEditor m_editor{this};
};

}  // namespace dbkeel
