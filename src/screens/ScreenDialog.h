#pragma once
// The base of every screen: the tiled background picture, blue control text, transparent
// labels, and the proportional layout, attached once the screen has placed its controls
// (setGeometry at the design size, in pixels) and re-run on every resize.

#include "widgets/ProportionalLayout.h"

#include <QDialog>
#include <QPixmap>

class QPainter;

namespace dbkeel {

enum class BackgroundMode { Tile = 0, Centre = 1, Stretch = 2 };

// Paints `picture` over `area` in `mode` (tiles from the top-left corner; centred where it is
// smaller than the area; stretched).
void paintScreenBackground(QPainter &painter, const QRect &area, const QPixmap &picture, BackgroundMode mode);
// The 550 x 345 picture every screen shows.
QPixmap screenBackground();
// Blue text for every control of `screen` (window text, text, button text).
void applyBlueText(QWidget *screen);

class ScreenDialog : public QDialog {
    Q_OBJECT

public:
    ScreenDialog(QWidget *parent, const QSize &designSize, const QString &title);

    // Accepts only 0 (tile), 1 (centre) and 2 (stretch); false, changing nothing, otherwise.
    bool setBackgroundMode(int mode);
    BackgroundMode backgroundMode() const { return m_mode; }
    const QPixmap &background() const { return m_background; }

    // Closes only when no JobRunner among the screen's children has a job running (OK, cancel,
    // Esc and the close box alike).
    void done(int result) override;

protected:
    void attachLayout();  // call at the end of the constructor, after every control is placed
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    ProportionalLayout m_layout;
    QPixmap m_background;
    BackgroundMode m_mode = BackgroundMode::Tile;
};

}  // namespace dbkeel
