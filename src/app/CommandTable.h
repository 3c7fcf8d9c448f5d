#pragma once
// The main window's menu: every command with its id, text and accelerator, the protected
// set that stays greyed until a login, and the dispatch of a chosen command to the main
// window's own handler or to the screen another module registered (ScreenRegistry.h).

#include "screens/CommandIds.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <set>

class QAction;
class QMenuBar;

namespace dbkeel {

class ScreenHost;

struct MenuCommand {
    int id;
    QString text;
};
struct MenuGroup {
    QString title;
    QList<MenuCommand> commands;
};

// The main menu in its order; the About entry closes the first group.
const QList<MenuGroup> &mainMenuLayout();
// The commands EnableMenus(0, …) treats; 32790 belongs to the set only when disabling.
QList<int> protectedCommands(bool disabling);

// The standards program's arguments for a main window at `frame` (no shell: the texts the
// installation's command line carries, its two empty texts dropped).
QStringList standardsProgramArguments(const QRect &frame);

class CommandTable : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void()>;

    // `host` is handed to the registered screens; the table is a child of its window.
    explicit CommandTable(ScreenHost &host);

    // Fills `bar` with the menu; every action is named "command<id>".
    void buildMenu(QMenuBar *bar);
    // The main window's own handler of a command (takes precedence over a registered screen).
    void setHandler(int id, Handler handler);
    // EnableMenus: one command, or with id 0 the protected set.
    void enableMenus(int id, bool enable);
    // Re-reads which commands have an action (after a module registered its screens).
    void refresh();

    QAction *action(int id) const;  // null for an id outside the menu
    bool hasAction(int id) const;
    void trigger(int id);

private:
    void apply(int id);

    ScreenHost &m_host;
    std::map<int, QAction *> m_actions;
    std::map<int, Handler> m_handlers;
    std::set<int> m_disabled;
};

}  // namespace dbkeel
