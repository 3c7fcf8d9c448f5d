#pragma once
// The prompt that shows real Qt dialogs: the only place that opens a QMessageBox or a
// QFileDialog or runs a dialog's event loop.

#include "platform/Prompt.h"

#include <QStringList>

namespace dbkeel {

class QtPrompt : public Prompt {
public:
    PromptButton message(const QString &caption, const QString &text, PromptIcon icon, PromptButtons buttons,
                         PromptButton defaultButton) override;
    QString chooseFile(const FileRequest &request) override;
    QString chooseFolder(const QString &title, const QString &initialFolder) override;
    int runModal(QDialog &dialog) override;
};

// Name filters for a QFileDialog from either filter form of FileRequest. Windows
// patterns are separated by ';' and "*.*" means every file; a description that
// already ends with its "(pattern)" is not repeated: "设备文件(*.TBIDDEV)|*.TBIDDEV||"
// gives "设备文件 (*.TBIDDEV)", "ALL files (*.*)|*.*||" gives "ALL files (*)".
QStringList qtNameFilters(const QString &filter);

}  // namespace dbkeel
