#include "console/ConsolePanel.h"

#include "console/ConsoleEvents.h"
#include "console/ConsoleOperations.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace dbkeel {

ConsolePanel::ConsolePanel(ConsoleOperations &operations, const ConsoleWidgets &widgets, QObject *parent)
    : QObject(parent), m_operations(operations), m_widgets(widgets)
{
    const ConsoleWidgets &w = m_widgets;
    w.commandBox->clear();
    w.commandBox->addItems(ConsoleOperations::commandEntries());
    w.commandBox->setCurrentIndex(0);
    w.connect->setToolTip(QStringLiteral("扫描局域网IP"));
    apply(operations.commandBoxState());

    connect(&operations, &ConsoleOperations::commandBoxChanged, this, &ConsolePanel::apply);
    connect(w.commandBox, &QComboBox::currentIndexChanged, &operations, &ConsoleOperations::selectCommand);
    connect(w.execute, &QPushButton::clicked, &operations, &ConsoleOperations::execute);
    connect(w.connect, &QPushButton::clicked, &operations, &ConsoleOperations::connectStations);
    connect(w.sendFile, &QPushButton::clicked, &operations, &ConsoleOperations::sendFile);
    connect(w.send, &QPushButton::clicked, this, &ConsolePanel::send);
    connect(w.shutdown, &QPushButton::clicked, &operations, &ConsoleOperations::shutdown);
    connect(w.restart, &QPushButton::clicked, &operations, &ConsoleOperations::restart);
    connect(w.syncTime, &QPushButton::clicked, &operations, &ConsoleOperations::syncTime);
    connect(w.selectAll, &QPushButton::clicked, &operations, &ConsoleOperations::selectAll);
    connect(w.invert, &QPushButton::clicked, &operations, &ConsoleOperations::invertSelection);
    connect(w.processList, &QAbstractItemView::doubleClicked, &operations,
            [&operations](const QModelIndex &index) { operations.endProcess(index.row()); });
    connect(&consoleEvents(), &ConsoleEvents::sweepButtonsEnabled, this, [this](bool enabled) {
        for (QPushButton *button : {m_widgets.connect, m_widgets.execute, m_widgets.sendFile})
            button->setEnabled(enabled);
    });
}

void ConsolePanel::apply(const CommandBoxState &state)
{
    m_widgets.send->setEnabled(state.sendEnabled);
    m_widgets.execute->setEnabled(state.executeEnabled);
    m_widgets.messageEdit->setEnabled(state.messageEditEnabled);
    m_widgets.chatBox->setVisible(state.chatVisible);
    m_widgets.processList->setVisible(state.processListVisible);
    if (state.focusMessageEdit)
        m_widgets.messageEdit->setFocus();
}

void ConsolePanel::send()
{
    if (!m_operations.sendMessage(m_widgets.messageEdit->text()))
        return;
    m_widgets.messageEdit->clear();
    m_widgets.messageEdit->setFocus();
}

}  // namespace dbkeel
