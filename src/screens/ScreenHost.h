#pragma once
// What a screen may ask of the main window. The main window implements it; a screen's action
// receives it when its menu command runs, and window tests can hand a screen one of their own.
// Log lines need no host: AddLog (AppLog.h) reaches the main window's log box from any thread.

class QWidget;

namespace dbkeel {

class ScreenHost {
public:
    virtual ~ScreenHost() = default;

    // The window that owns the screen's dialogs.
    virtual QWidget *owner() = 0;
    // After the line layout changed: device and item lists cleared, tree, counts and station registry reloaded.
    virtual void reloadLineLayout() = 0;
};

}  // namespace dbkeel
