#include "screens/ScreenDialog.h"

#include "screens/JobRunner.h"

#include <QPainter>
#include <QResizeEvent>

namespace dbkeel {

ScreenDialog::ScreenDialog(QWidget *parent, const QSize &designSize, const QString &title)
    : QDialog(parent), m_background(screenBackground())
{
    setWindowTitle(title);
    resize(designSize);
    applyBlueText(this);
}

QPixmap screenBackground()
{
    return QPixmap(QStringLiteral(":/dbkeel/screen_background.png"));
}

void applyBlueText(QWidget *screen)
{
    QPalette blueText = screen->palette();
    const QColor blue(0, 0, 255);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        blueText.setColor(role, blue);
    screen->setPalette(blueText);
}

void paintScreenBackground(QPainter &painter, const QRect &area, const QPixmap &picture, BackgroundMode mode)
{
    if (picture.isNull())
        return;
    switch (mode) {
    case BackgroundMode::Tile: painter.drawTiledPixmap(area, picture); break;
    case BackgroundMode::Centre: {
        const int x = picture.width() < area.width() ? (area.width() - picture.width()) / 2 : 0;
        const int y = picture.height() < area.height() ? (area.height() - picture.height()) / 2 : 0;
        painter.drawPixmap(area.left() + x, area.top() + y, picture);
        break;
    }
    case BackgroundMode::Stretch: painter.drawPixmap(area, picture); break;
    }
}

bool ScreenDialog::setBackgroundMode(int mode)
{
    if (mode < 0 || mode > 2)
        return false;
    m_mode = BackgroundMode(mode);
    update();
    return true;
}

void ScreenDialog::done(int result)
{
    for (const JobRunner *runner : findChildren<JobRunner *>())
        if (runner->isRunning())
            return;  // the job reports to this screen: it ends (or is stopped) first
    QDialog::done(result);
}

void ScreenDialog::attachLayout()
{
    m_layout.attach(this);
}

void ScreenDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    paintScreenBackground(painter, rect(), m_background, m_mode);
}

void ScreenDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_layout.layout();
}

}  // namespace dbkeel
