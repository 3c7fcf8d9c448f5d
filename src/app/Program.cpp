#include "app/Program.h"

#include "app/MainWindow.h"
#include "app/MainWindowPanel.h"
#include "composition/CompositionScreens.h"
#include "console/ConsoleOperations.h"
#include "console/ConsolePanel.h"
#include "console/ConsoleScreens.h"
#include "console/StationRowDialog.h"
#include "dictionaries/DictionaryScreens.h"
#include "indexfiles/IndexFileScreens.h"
#include "maintenance/MaintenanceScreens.h"
#include "stats/StatsScreens.h"
#include "widgets/ReportListView.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>
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

QTranslator *installQtChineseTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qt_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

QString missingChineseFontNotice()
{
    if (!QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty())
        return {};
    return QStringLiteral("No installed font has Chinese characters: every label of Dbkeel will show as boxes.\n"
                          "Install one, for example:  sudo apt install fonts-wqy-microhei  (or fonts-noto-cjk)");
}

}  // namespace dbkeel
