#include "app/MainWindowPanel.h"
#include "app/Program.h"
#include "screens/ScreenDialog.h"
#include "tests/support/TestSupport.h"
#include "widgets/ProportionalLayout.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTranslator>

#include <gtest/gtest.h>

#include <cmath>

using namespace dbkeel;

namespace {

DialogFontSettings tenPoint()
{
    return DialogFontSettings{};
}

// A 400 x 300 screen with one control of each kind, placed at the design size.
struct Screen {
    QWidget window;
    QLabel *label = new QLabel(QStringLiteral("标签"), &window);
    QLineEdit *edit = new QLineEdit(&window);
    QPushButton *button = new QPushButton(QStringLiteral("确定"), &window);
    QComboBox *combo = new QComboBox(&window);
    QTableView *list = new QTableView(&window);
    QTextEdit *tallEdit = new QTextEdit(&window);

    Screen()
    {
        window.resize(400, 300);
        label->setGeometry(10, 10, 80, 20);
        edit->setGeometry(101, 11, 151, 22);
        button->setGeometry(13, 47, 75, 25);
        combo->setGeometry(200, 47, 120, 24);
        list->setGeometry(11, 101, 301, 151);
        tallEdit->setGeometry(321, 101, 71, 121);
    }
    QList<QWidget *> controls() const { return {label, edit, button, combo, list, tallEdit}; }
};

}  // namespace

TEST(ScaleWithCarry, CarriesTheTruncationUntilItExceedsOnePixel)
{
    struct Step {
        int value;
        float ratio;
        int expected;
        float carryAfter;
    };
    // One coordinate resized again and again: 10 * 1.15 = 11.5 three times over.
    const Step steps[] = {
        {10, 1.15f, 11, 0.5f},    // 0.5 carried
        {10, 1.15f, 11, 1.0f},    // exactly 1 is not more than 1
        {10, 1.15f, 12, 0.5f},    // 1.5: one pixel paid out
        {-10, 1.15f, -11, 0.0f},  // a negative coordinate truncates toward zero
    };
    float carry = 0;
    for (const Step &step : steps) {
        EXPECT_EQ(scaleWithCarry(step.value, step.ratio, carry), step.expected) << step.value;
        EXPECT_NEAR(carry, step.carryAfter, 1e-5) << step.value;
    }
}

TEST(ProportionalLayout, DoublingScalesPositionsAndTheHeightOfTallControlsOnly)
{
    Screen s;
    QList<QRect> before;
    for (QWidget *c : s.controls())
        before << c->geometry();
    ProportionalLayout layout(tenPoint());
    layout.attach(&s.window);
    s.window.resize(800, 600);
    layout.layout();

    for (int i = 0; i < before.size(); ++i) {
        const QRect was = before[i], now = s.controls()[i]->geometry();
        SCOPED_TRACE(s.controls()[i]->metaObject()->className());
        EXPECT_EQ(now.left(), 2 * was.left());
        EXPECT_EQ(now.top(), 2 * was.top());
        EXPECT_EQ(now.left() + now.width(), 2 * (was.left() + was.width()));
    }
    // Labels, single-line edits, buttons and combo boxes keep their height; lists and tall edits double.
    for (QWidget *kept : {static_cast<QWidget *>(s.label), static_cast<QWidget *>(s.edit),
                          static_cast<QWidget *>(s.button), static_cast<QWidget *>(s.combo)})
        EXPECT_EQ(kept->height(), before[s.controls().indexOf(kept)].height());
    EXPECT_EQ(s.list->height(), 2 * 151);
    EXPECT_EQ(s.tallEdit->height(), 2 * 121);
    EXPECT_EQ(layout.referenceSize(), QSize(800, 600));
}

TEST(ProportionalLayout, ALowTextControlGrowsToTheTextHeight)
{
    Screen s;
    s.label->setGeometry(10, 10, 80, 4);
    ProportionalLayout layout(tenPoint());
    layout.attach(&s.window);
    layout.layout();
    const int textHeight = QFontMetrics(s.label->font()).boundingRect(QStringLiteral("FON")).height();
    EXPECT_EQ(s.label->height(), textHeight + 2);
    EXPECT_EQ(s.label->pos(), QPoint(10, 10));
}

TEST(ProportionalLayout, MinimiseAndRestoreLeaveTheControlsWhereTheyWere)
{
    Screen s;
    ProportionalLayout layout(tenPoint());
    layout.attach(&s.window);
    s.window.resize(640, 480);
    layout.layout();
    QList<QRect> before;
    for (QWidget *c : s.controls())
        before << c->geometry();

    s.window.resize(0, 0);  // what a minimised window reports
    layout.layout();
    EXPECT_EQ(layout.referenceSize(), QSize(640, 480));
    s.window.resize(640, 480);
    layout.layout();
    for (int i = 0; i < before.size(); ++i)
        EXPECT_EQ(s.controls()[i]->geometry(), before[i]) << i;
}

TEST(ProportionalLayout, ManyOnePixelStepsEndNearOneBigStep)
{
    Screen stepped, once;
    ProportionalLayout steppedLayout(tenPoint()), onceLayout(tenPoint());
    steppedLayout.attach(&stepped.window);
    onceLayout.attach(&once.window);
    for (int step = 1; step <= 300; ++step) {
        stepped.window.resize(400 + step, 300 + step);
        steppedLayout.layout();
    }
    once.window.resize(700, 600);
    onceLayout.layout();

    for (int i = 0; i < once.controls().size(); ++i) {
        const QRect a = stepped.controls()[i]->geometry(), b = once.controls()[i]->geometry();
        SCOPED_TRACE(once.controls()[i]->metaObject()->className());
        EXPECT_LE(std::abs(a.left() - b.left()), 2);
        EXPECT_LE(std::abs(a.top() - b.top()), 2);
        EXPECT_LE(std::abs(a.right() - b.right()), 2);
        EXPECT_LE(std::abs(a.bottom() - b.bottom()), 2);
    }
}

TEST(ProportionalLayout, HiddenControlsAreLeftAloneAndTakeNoCarrySlot)
{
    Screen s;
    s.edit->hide();
    ProportionalLayout layout(tenPoint());
    layout.attach(&s.window);
    s.window.resize(800, 600);
    layout.layout();
    EXPECT_EQ(s.edit->geometry(), QRect(101, 11, 151, 22));
    EXPECT_EQ(s.button->x(), 26);
}

TEST(ProportionalLayout, DoesNothingBeforeAttach)
{
    Screen s;
    ProportionalLayout layout(tenPoint());
    s.window.resize(800, 600);
    layout.layout();
    EXPECT_EQ(s.list->geometry(), QRect(11, 101, 301, 151));
}

TEST(ProportionalLayout, ComboDropDownIsWideEnoughForItsWidestItem)
{
    Screen s;
    const QString longest = QStringLiteral("一个相当长的下拉项目文字，比组合框本身宽得多");
    s.combo->addItems({QStringLiteral("短"), longest});
    ProportionalLayout layout(tenPoint());
    layout.attach(&s.window);
    layout.layout();
    EXPECT_GT(s.combo->view()->minimumWidth(), QFontMetrics(s.combo->font()).horizontalAdvance(longest));
}

TEST(DialogFont, ReadFromLoginsetWithDefaultsAndAnInstalledChineseFace)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("loginset.ini"));

    const DialogFontSettings missing = DialogFontSettings::read(path);
    EXPECT_EQ(missing.tenthsOfPoint, 100);
    EXPECT_EQ(missing.faceName, QStringLiteral("幼圆"));
    const QFont fallback = missing.font();
    EXPECT_DOUBLE_EQ(fallback.pointSizeF(), 10.0);
    EXPECT_TRUE(QFontDatabase::families().contains(fallback.family(), Qt::CaseInsensitive))
        << fallback.family().toStdString();

    test::writeFileBytes(path, "[DLGFONT]\r\nFONTSIZE=120\r\nFONTFOCENAME=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\r\n");
    const DialogFontSettings twelve = DialogFontSettings::read(path);
    EXPECT_EQ(twelve.tenthsOfPoint, 120);
    EXPECT_EQ(twelve.faceName, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ012"));  // 29 characters

    Screen s;
    ProportionalLayout layout(twelve);
    layout.attach(&s.window);
    layout.layout();
    for (QWidget *c : s.controls())
        EXPECT_DOUBLE_EQ(c->font().pointSizeF(), 12.0);
}

TEST(ConsoleButtonFont, YouYuan30PixelsWeight600WhereInstalledElseTheDialogFont)
{
    QFont dialog(QStringLiteral("WenQuanYi Micro Hei"));
    dialog.setPointSizeF(10.0);
    const QFont installed = consoleButtonFont({QStringLiteral("DejaVu Sans"), QStringLiteral("幼圆")}, dialog);
    EXPECT_EQ(installed.family(), QStringLiteral("幼圆"));
    EXPECT_EQ(installed.pixelSize(), 30);
    EXPECT_EQ(installed.weight(), 600);
    EXPECT_EQ(consoleButtonFont({QStringLiteral("DejaVu Sans")}, dialog), dialog);
}

namespace {
class SampleScreen : public ScreenDialog {
public:
    SampleScreen() : ScreenDialog(nullptr, QSize(300, 200), QStringLiteral("样例"))
    {
        list = new QTableView(this);
        list->setGeometry(10, 10, 280, 180);
        attachLayout();
    }
    QTableView *list;
};
}  // namespace

TEST(ScreenDialog, BackgroundBlueTextAndLayoutOnResize)
{
    SampleScreen screen;
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("样例"));
    EXPECT_EQ(screen.background().size(), QSize(550, 345));
    EXPECT_EQ(screen.list->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_FALSE(screen.setBackgroundMode(3));
    EXPECT_TRUE(screen.setBackgroundMode(2));
    EXPECT_EQ(screen.backgroundMode(), BackgroundMode::Stretch);

    screen.show();
    QApplication::processEvents();
    screen.resize(600, 400);
    QApplication::processEvents();
    EXPECT_EQ(screen.list->geometry(), QRect(20, 20, 560, 360));
}

// Qt's own buttons in Chinese (scripts/setup installs the translations and a font with Chinese glyphs).
TEST(ChineseDesktop, QtTextsAreTranslatedAndAChineseFontIsThere)
{
    const QString english = QStringLiteral("Cancel");
    ASSERT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), english);
    QTranslator *translator = installQtChineseTranslations();
    ASSERT_NE(translator, nullptr);
    const QString translated = QCoreApplication::translate("QPlatformTheme", "Cancel");
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_NE(translated, english);
    EXPECT_TRUE(translated.contains(QStringLiteral("取消"))) << translated.toStdString();
    EXPECT_EQ(missingChineseFontNotice(), QString());
}
