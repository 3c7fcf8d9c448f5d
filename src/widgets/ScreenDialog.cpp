#include "ScreenDialog.h"

#include <QPainter>
#include <QResizeEvent>

namespace dbkeel {

ScreenDialog::ScreenDialog(QWidget *parent, const QSize &designSize, const QString &title)
    : QDialog(parent), background_(screenBackground())
{
    setWindowTitle(title);
    resize(designSize);
    QPalette blueText = palette();
    const QColor blue(0, 0, 255);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        blueText.setColor(role, blue);
    setPalette(blueText);
}

QPixmap ScreenDialog::screenBackground()
{
    return QPixmap(QStringLiteral(":/dbkeel/screen_background.png"));
}

bool ScreenDialog::setBackgroundMode(int mode)
{
    if (mode < 0 || mode > 2)
        return false;
    mode_ = BackgroundMode(mode);
    update();
    return true;
}

void ScreenDialog::attachLayout()
{
    layout_.attach(this);
}

void ScreenDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (background_.isNull())
        return;
    QPainter painter(this);
    const QRect area = rect();
    switch (mode_) {
    case BackgroundMode::Tile:
        painter.drawTiledPixmap(area, background_);
        break;
    case BackgroundMode::Centre: {
        const int x = background_.width() < area.width() ? (area.width() - background_.width()) / 2 : 0;
        const int y = background_.height() < area.height() ? (area.height() - background_.height()) / 2 : 0;
        painter.drawPixmap(x, y, background_);
        break;
    }
    case BackgroundMode::Stretch:
        painter.drawPixmap(area, background_);
        break;
    }
}

void ScreenDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    layout_.layout();
}

}  // namespace dbkeel
