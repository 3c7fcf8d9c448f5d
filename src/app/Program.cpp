#include "Program.h"

#include "CompositionScreens.h"
#include "ConsoleOperations.h"
#include "ConsolePanel.h"
#include "ConsoleScreens.h"
#include "DictionaryScreens.h"
#include "IndexFileScreens.h"
#include "MainWindow.h"
#include "MainWindowPanel.h"
#include "MaintenanceScreens.h"
#include "ReportListView.h"
#include "StatsScreens.h"
#include "StationRowDialog.h"

#include <QTreeWidget>

namespace dbkeel {

namespace {

void attachConsole(MainWindow &window)
{
    MainWindowPanel *panel = window.panel();
    auto *operations = new ConsoleOperations(*panel->computerList()->reportModel(),
                                             *panel->processList()->reportModel(), &window);
    new ConsolePanel(*operations, panel->console(), &window);  // the operations fill the process list themselves
}

// A double click on a station or computer node edits its address.
void attachAddressChange(MainWindow &window)
{
    QTreeWidget *tree = window.panel()->lineTree();
    QObject::connect(tree, &QTreeWidget::itemDoubleClicked, &window, [&window](QTreeWidgetItem *item) {
        const quintptr node = item->data(0, Qt::UserRole).value<quintptr>();
        if (const std::optional<QString> text = ChangeAddress(&window, item->text(0), node))
            item->setText(0, *text);
    });
}

}  // namespace

void registerModuleScreens()
{
    static const bool registered = [] {
        registerConsoleScreens();
        registerDictionaryScreens();
        registerMaintenanceScreens();
        registerIndexFileScreens();
        registerCompositionScreens();
        registerStatsScreens();
        return true;
    }();
    (void)registered;
}

std::unique_ptr<MainWindow> createProgramWindow()
{
    registerModuleScreens();
    auto window = std::make_unique<MainWindow>();
    attachConsole(*window);
    attachAddressChange(*window);
    return window;
}

}  // namespace dbkeel
