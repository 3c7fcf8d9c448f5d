#pragma once
// DeviceDictionaryDialog, ItemDictionaryDialog and ParameterDictionaryDialog: one dialog over a DictionaryEditor, laid
// out at its design size; the variant gives its title, texts and columns.

#include "dictionaries/DictionaryEditor.h"
#include "screens/ScreenDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace dbkeel {

class ReportListView;

class DictionaryDialog : public ScreenDialog {
    Q_OBJECT

public:
    DictionaryDialog(const DictionaryVariant &variant, QWidget *parent = nullptr);

    DictionaryEditor &editor() { return m_editor; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeControls();
    void connectCommands();
    void search();

    DictionaryEditor m_editor;
    ReportListView *m_list = nullptr;
    QComboBox *m_searchMode = nullptr;
    QLineEdit *m_searchText = nullptr;
    QPushButton *m_update = nullptr, *m_check = nullptr, *m_searchButton = nullptr, *m_tickAll = nullptr,
                *m_invert = nullptr, *m_export = nullptr, *m_import = nullptr, *m_forcedImport = nullptr,
                *m_cancel = nullptr;
};

}  // namespace dbkeel
