#pragma once
// Placing a screen's controls at its design size and showing its status fields.

#include <QRect>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace dbkeel {

class ScreenStatus;

// A control of `screen` at `geometry` (design-size pixels), found by tests through `objectName`.
template <typename Control, typename... Args>
Control *placeControl(QWidget *screen, const QRect &geometry, const QString &objectName, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., screen);
    control->setObjectName(objectName);
    control->setGeometry(geometry);
    return control;
}

QPushButton *placeButton(QWidget *screen, const QRect &geometry, const QString &objectName, const QString &text,
                         const QString &toolTip = {});
QLabel *placeLabel(QWidget *screen, const QRect &geometry, const QString &text);

// The status lines and the progress bar follow `status`.
void showStatus(const ScreenStatus &status, QLabel *left, QLabel *right, QProgressBar *progress);

}  // namespace dbkeel
