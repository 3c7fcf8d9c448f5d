#pragma once
// Wires the main window's console controls to ConsoleOperations: the buttons, the command box and
// the states it sets, the process list's double-click, and the sweep's disabled buttons.

#include <QObject>

class QAbstractItemView;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace dbkeel {

class ConsoleOperations;
struct CommandBoxState;

// The main window's console controls.
struct ConsoleWidgets {
    QComboBox *commandBox = nullptr;  // filled by the panel
    QLineEdit *messageEdit = nullptr;
    QPushButton *connect = nullptr, *execute = nullptr, *sendFile = nullptr, *selectAll = nullptr, *invert = nullptr,
                *send = nullptr, *shutdown = nullptr, *restart = nullptr, *syncTime = nullptr;
    QAbstractItemView *processList = nullptr;  // shown in turn with the chat box
    QWidget *chatBox = nullptr;
};

class ConsolePanel : public QObject {
    Q_OBJECT

public:
    // Fills the command box with its entries and selects the first; `operations` outlives the panel.
    ConsolePanel(ConsoleOperations &operations, const ConsoleWidgets &widgets, QObject *parent = nullptr);

private:
    void apply(const CommandBoxState &state);
    void send();

    ConsoleOperations &m_operations;
    ConsoleWidgets m_widgets;
};

}  // namespace dbkeel
