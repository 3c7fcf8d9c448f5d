// Compiled against each window-free library by the screens tests, which expect it not to compile:
// an editor that includes a widget header is a build error.
#include <QWidget>
