#pragma once
// Moves and scales the controls of a screen when it is resized, and gives them the
// installation's dialog font (loginset.ini, section DLGFONT).
//
// The controls are the screen's direct child widgets, laid out with setGeometry at the
// screen's design size. Every resize scales left, top and right (and the bottom of tall
// controls) by the size ratio; the truncation loss of each coordinate is carried per
// control slot into the next resize, so many small steps end where one big step would.

#include <QFont>
#include <QSize>
#include <QString>

#include <vector>

class QWidget;

namespace dbkeel {

// The window class a Qt control stands for in the layout rules.
enum class ControlClass { Static, Edit, Button, ComboBox, ListView, IpAddress, Other };
ControlClass controlClassOf(const QWidget *control);

struct DialogFontSettings {
    QString faceName = QStringLiteral("幼圆");  // at most 29 characters
    int tenthsOfPoint = 100;

    // Section DLGFONT of `path` (FONTSIZE, FONTFOCENAME); the defaults when missing.
    static DialogFontSettings read(const QString &path = QStringLiteral("loginset.ini"));
    // The font, with an installed Chinese face standing in when the face is not installed.
    QFont font() const;
};

// One coordinate scaled by `ratio` with its carry: the truncated product, corrected by the
// whole part of the carry once the carry exceeds one pixel.
int scaleWithCarry(int value, float ratio, float &carry);

class ProportionalLayout {
public:
    // Reads the font settings from loginset.ini in the current directory.
    ProportionalLayout();
    explicit ProportionalLayout(const DialogFontSettings &font);

    // Takes the screen's current size as the reference and clears the carries.
    void attach(QWidget *screen);
    // Scales every visible control from the reference size to the screen's current size;
    // does nothing before attach and while the screen is smaller than one pixel.
    void layout();

    QSize referenceSize() const { return m_reference; }
    const DialogFontSettings &fontSettings() const { return m_settings; }

private:
    struct Carries {
        float left = 0, top = 0, right = 0, bottom = 0;
    };
    void layoutControl(QWidget *control, Carries &carry, float rx, float ry);
    static int keptHeight(const QWidget *control, int height);
    static void fitDropDownWidth(QWidget *combo);

    QWidget *m_screen = nullptr;
    QSize m_reference;
    std::vector<Carries> m_carries;  // one slot per visible control, grown as needed
    DialogFontSettings m_settings;
    QFont m_font;
    bool m_fontCreated = false;
};

}  // namespace dbkeel
