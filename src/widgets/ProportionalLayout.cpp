#include "widgets/ProportionalLayout.h"

#include "platform/Profile.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextEdit>
#include <QWidget>

#include <cmath>

namespace dbkeel {

namespace {

constexpr int kTallControl = 50;  // controls at least this high scale their height too

QString installedChineseFace(const QString &wanted)
{
    const QStringList families = QFontDatabase::families();
    if (families.contains(wanted, Qt::CaseInsensitive))
        return wanted;
    for (const QString &preferred : {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                     QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("AR PL UMing CN")}) {
        if (families.contains(preferred, Qt::CaseInsensitive))
            return preferred;
    }
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    return chinese.isEmpty() ? wanted : chinese.first();
}

}  // namespace

ControlClass controlClassOf(const QWidget *control)
{
    if (qobject_cast<const QLabel *>(control))
        return ControlClass::Static;
    if (qobject_cast<const QLineEdit *>(control) || qobject_cast<const QTextEdit *>(control)
        || qobject_cast<const QPlainTextEdit *>(control))
        return ControlClass::Edit;
    if (qobject_cast<const QAbstractButton *>(control) || qobject_cast<const QGroupBox *>(control))
        return ControlClass::Button;
    if (qobject_cast<const QComboBox *>(control))
        return ControlClass::ComboBox;
    if (qobject_cast<const QAbstractItemView *>(control))
        return ControlClass::ListView;
    if (control->inherits("dbkeel::IpAddressEdit"))
        return ControlClass::IpAddress;
    return ControlClass::Other;
}

DialogFontSettings DialogFontSettings::read(const QString &path)
{
    DialogFontSettings settings;
    ProfileFile file(path);
    settings.tenthsOfPoint = file.readInt(QStringLiteral("DLGFONT"), QStringLiteral("FONTSIZE"), 100);
    settings.faceName = file.readString(QStringLiteral("DLGFONT"), QStringLiteral("FONTFOCENAME"),
                                        QStringLiteral("幼圆"), 30);
    return settings;
}

QFont DialogFontSettings::font() const
{
    QFont font(installedChineseFace(faceName));
    if (tenthsOfPoint > 0)
        font.setPointSizeF(tenthsOfPoint / 10.0);
    return font;
}

int scaleWithCarry(int value, float ratio, float &carry)
{
    const float exact = float(value) * ratio;
    int scaled = int(exact);  // toward zero
    carry += exact - float(scaled);
    if (std::fabs(carry) > 1.0f) {
        const int whole = int(carry);
        scaled += whole;
        carry -= float(whole);
    }
    return scaled;
}

ProportionalLayout::ProportionalLayout() : ProportionalLayout(DialogFontSettings::read()) {}

ProportionalLayout::ProportionalLayout(const DialogFontSettings &font) : m_settings(font) {}

void ProportionalLayout::attach(QWidget *screen)
{
    m_screen = screen;
    m_carries.clear();
    m_fontCreated = false;
    m_reference = screen ? screen->size() : QSize();
}

void ProportionalLayout::layout()
{
    if (!m_screen)
        return;
    const QSize now = m_screen->size();
    if (m_reference.width() < 1 || m_reference.height() < 1 || now.width() < 1 || now.height() < 1)
        return;
    const float rx = float(now.width()) / float(m_reference.width());
    const float ry = float(now.height()) / float(m_reference.height());
    if (!m_fontCreated) {
        m_font = m_settings.font();
        m_fontCreated = true;
    }
    std::size_t slot = 0;
    for (QObject *object : m_screen->children()) {
        auto *control = qobject_cast<QWidget *>(object);
        if (!control || control->isWindow() || !control->isVisibleTo(m_screen))
            continue;
        if (slot == m_carries.size())
            m_carries.emplace_back();
        layoutControl(control, m_carries[slot++], rx, ry);
    }
    m_reference = now;
    m_screen->update();
}

void ProportionalLayout::layoutControl(QWidget *control, Carries &carry, float rx, float ry)
{
    const QRect old = control->geometry();
    const int height = old.height();
    const int top = scaleWithCarry(old.top(), ry, carry.top);
    const int left = scaleWithCarry(old.left(), rx, carry.left);
    const int right = scaleWithCarry(old.left() + old.width(), rx, carry.right);
    control->setFont(m_font);

    int bottom;
    const ControlClass kind = controlClassOf(control);
    const bool keepsHeight = kind == ControlClass::Static || kind == ControlClass::Edit || kind == ControlClass::Button
                             || kind == ControlClass::ComboBox;
    if (keepsHeight && height < kTallControl)
        bottom = top + keptHeight(control, height);
    else
        bottom = scaleWithCarry(old.top() + height, ry, carry.bottom);
    if (kind == ControlClass::ComboBox)
        fitDropDownWidth(control);
    control->setGeometry(left, top, right - left, bottom - top);
}

int ProportionalLayout::keptHeight(const QWidget *control, int height)
{
    const int textHeight = QFontMetrics(control->font()).boundingRect(QStringLiteral("FON")).height();
    return height < textHeight ? textHeight + 2 : height;
}

void ProportionalLayout::fitDropDownWidth(QWidget *control)
{
    auto *combo = static_cast<QComboBox *>(control);
    const QFontMetrics metrics(combo->font());
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)) + metrics.averageCharWidth());
    const QStyle *style = combo->style();
    const int scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, combo);
    const int edge = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, combo);
    combo->view()->setMinimumWidth(widest + scrollBar + 2 * edge);
}

}  // namespace dbkeel
