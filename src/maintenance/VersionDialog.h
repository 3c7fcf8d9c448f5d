#pragma once
// The version screen over a VersionEditor.

#include "maintenance/VersionEditor.h"
#include "screens/ScreenDialog.h"

class QLineEdit;
class QPlainTextEdit;

namespace dbkeel {

class VersionDialog : public ScreenDialog {
    Q_OBJECT

public:
    explicit VersionDialog(QWidget *parent = nullptr);
    VersionEditor &editor() { return m_editor; }

private:
    void showFields();
    VersionFields typedFields() const;

    VersionEditor m_editor;
    QList<QLineEdit *> m_parts;
    QLineEdit *m_changeTime = nullptr, *m_name = nullptr, *m_entryTime = nullptr;
    QPlainTextEdit *m_description = nullptr;
};

}  // namespace dbkeel
