#pragma once
// A host for screens opened without the main window: a plain window as their owner.

#include "screens/ScreenHost.h"

#include <QWidget>

namespace dbkeel::test {

struct TestScreenHost : ScreenHost {
    QWidget window;

    QWidget *owner() override { return &window; }
    void reloadLineLayout() override {}
};

}  // namespace dbkeel::test
