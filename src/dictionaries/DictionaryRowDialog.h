#pragma once
// The row editor of the dictionaries ("信息(插入、修改、删除)"). It edits the process-wide
// dictionaryRowRecord(): shows it on opening, prepares the fields when an operation is chosen and
// writes the operation and texts back on 确定.

#include "dictionaries/DictionaryRowRecord.h"
#include "screens/ScreenDialog.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace dbkeel {

class DictionaryRowDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit DictionaryRowDialog(QWidget *parent = nullptr);

    // Opens the editor modally through prompt(); true when it was closed with 确定.
    static bool edit(QWidget *parent);

    void accept() override;

private:
    void showRecord();
    void choose(RowOperation operation);
    RowOperation chosenOperation() const;

    DictionaryRowRecord m_opened;  // the record as it was on opening
    QLineEdit *m_name, *m_code, *m_key, *m_time;
    QComboBox *m_state;
    QPlainTextEdit *m_remark;
    QButtonGroup *m_operations;
};

}  // namespace dbkeel
