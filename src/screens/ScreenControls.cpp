#include "screens/ScreenControls.h"

#include "screens/ScreenStatus.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace dbkeel {

QPushButton *placeButton(QWidget *screen, const QRect &geometry, const QString &objectName, const QString &text,
                         const QString &toolTip)
{
    auto *button = placeControl<QPushButton>(screen, geometry, objectName, text);
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    return button;
}

QLabel *placeLabel(QWidget *screen, const QRect &geometry, const QString &text)
{
    return placeControl<QLabel>(screen, geometry, QString(), text);
}

void showStatus(const ScreenStatus &status, QLabel *left, QLabel *right, QProgressBar *progress)
{
    const auto follow = [&status](QLabel *label, QString text, void (ScreenStatus::*changed)(const QString &)) {
        if (!label)
            return;
        label->setText(text);
        QObject::connect(&status, changed, label, [label](const QString &now) {
            label->setText(now);
            label->repaint();
        });
    };
    follow(left, status.left(), &ScreenStatus::leftChanged);
    follow(right, status.right(), &ScreenStatus::rightChanged);
    if (progress) {
        progress->setRange(status.progressMinimum(), status.progressMaximum());
        progress->setValue(status.progress());
        progress->setTextVisible(false);
        QObject::connect(&status, &ScreenStatus::progressRangeChanged, progress, &QProgressBar::setRange);
        QObject::connect(&status, &ScreenStatus::progressChanged, progress, &QProgressBar::setValue);
    }
}

}  // namespace dbkeel
