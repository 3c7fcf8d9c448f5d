#pragma once
// A host for screens opened without the main window: a plain window as their owner, counting the
// reloads a screen asks for.

#include "ScreenHost.h"

#include <QWidget>

namespace dbkeel::test {

struct TestScreenHost : ScreenHost {
    QWidget window;
    int layoutReloads = 0;

    QWidget *owner() override { return &window; }
    void reloadLineLayout() override { ++layoutReloads; }
};

}  // namespace dbkeel::test
