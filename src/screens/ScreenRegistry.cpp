#include "screens/ScreenRegistry.h"

#include <map>

namespace dbkeel {

namespace {
std::map<int, ScreenAction> &actions()
{
    static std::map<int, ScreenAction> registered;
    return registered;
}
}  // namespace

void registerCommand(int commandId, ScreenAction action)
{
    actions()[commandId] = std::move(action);
}

ScreenAction registeredCommand(int commandId)
{
    const auto found = actions().find(commandId);
    return found == actions().end() ? ScreenAction() : found->second;
}

void unregisterCommand(int commandId)
{
    actions().erase(commandId);
}

}  // namespace dbkeel
