#pragma once
// Placing a screen's controls at its design size, showing its status fields, and the wiring that
// every screen's list and buttons share.

#include "widgets/ReportListView.h"

#include <QPushButton>
#include <QRect>
#include <QString>

class QLabel;
class QProgressBar;
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

// A control at `geometry` with its caption `label` on its left, from `labelLeft` up to the control.
template <typename Control, typename... Args>
Control *placeLabelled(QWidget *screen, int labelLeft, const QString &label, const QRect &geometry,
                       const QString &objectName, Args &&...args)
{
    placeLabel(screen, {labelLeft, geometry.y(), geometry.x() - labelLeft, geometry.height()}, label);
    return placeControl<Control>(screen, geometry, objectName, std::forward<Args>(args)...);
}

// The status lines and the progress bar follow `status`. Each change is painted at once, so a text
// set before synchronous work ("请稍等,...") is on the screen while the work runs.
void showStatus(const ScreenStatus &status, QLabel *left, QLabel *right, QProgressBar *progress);

// While `source` reports its work running (a signal with a bool), `button` is greyed and shows
// `busyText`; afterwards it is enabled with its text of now.
template <typename Source, typename Signal>
void followBusy(QPushButton *button, const Source *source, Signal running, const QString &busyText)
{
    const QString idleText = button->text();
    QObject::connect(source, running, button, [button, idleText, busyText](bool busy) {
        button->setEnabled(!busy);
        button->setText(busy ? busyText : idleText);
        button->repaint();
    });
}

// A double click on a row of `list` edits it: the editor fills the row editor's record
// (prepareEdit), `edit` runs the row dialog over `screen`, the editor applies the answer (finishEdit).
template <typename Editor>
void editRowsOnDoubleClick(QWidget *screen, ReportListView *list, Editor &editor, bool (*edit)(QWidget *parent))
{
    QObject::connect(list, &QAbstractItemView::doubleClicked, screen, [screen, list, &editor, edit] {
        const int row = list->selectedRow();
        if (editor.prepareEdit(row))
            editor.finishEdit(row, edit(screen));
    });
}

}  // namespace dbkeel
