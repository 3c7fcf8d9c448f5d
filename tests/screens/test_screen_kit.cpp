// The screen kit's shared helpers: the database-error report, and status texts and busy buttons
// that are on the screen while synchronous work runs.

#include "core/AppState.h"
#include "core/SharedDb.h"
#include "platform/ScriptedPrompt.h"
#include "screens/DbErrorReport.h"
#include "screens/ScreenControls.h"
#include "screens/ScreenDialog.h"
#include "screens/ScreenStatus.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace dbkeel::test {
namespace {

TEST(DbErrorReport, ShowsContextAndDriverTextAndMarksTheConnectionAsAsked)
{
    ScriptedPrompt prompts;
    const DbError error(QStringLiteral("[SQLite]no such table: t (1)"));
    for (const AfterDbError after : {AfterDbError::MarkLost, AfterDbError::KeepReady}) {
        DbReady = 1;
        prompts.answer(PromptButton::Ok);
        reportDbError(QStringLiteral("提示"), QStringLiteral("删除信息异常"), error, after);
        EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("提示"));
        EXPECT_EQ(prompts.lastCall().text, QStringLiteral("删除信息异常[SQLite]no such table: t (1)"));
        EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Exclamation);
        EXPECT_EQ(DbReady, after == AfterDbError::MarkLost ? 0 : 1);
    }
}

// Records the text a widget showed at each of its paint events.
class PaintedTexts : public QObject {
public:
    QStringList texts;
    std::function<QString()> read;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            texts << read();
        return false;
    }
};

// A status text and a busy button set before synchronous work, as a store does, are painted before the
// work runs, though the window's events are not dispatched until it ends.
TEST(ScreenControls, StatusAndBusyButtonArePaintedBeforeSynchronousWork)
{
    ScreenDialog screen(nullptr, QSize(300, 100), QStringLiteral("测试"));
    ScreenStatus status;
    auto *left = placeControl<QLabel>(&screen, {10, 10, 200, 20}, QStringLiteral("leftStatus"));
    auto *button = placeButton(&screen, {10, 40, 80, 26}, QStringLiteral("updateButton"), QStringLiteral("更新"));
    QCheckBox running;  // any signal with a bool reports the work
    showStatus(status, left, nullptr, nullptr);
    followBusy(button, &running, &QCheckBox::toggled, QStringLiteral("更新..."));
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    PaintedTexts labelPaints, buttonPaints;
    labelPaints.read = [left] { return left->text(); };
    buttonPaints.read = [button] { return button->text(); };
    left->installEventFilter(&labelPaints);
    button->installEventFilter(&buttonPaints);

    running.setChecked(true);
    status.setLeft(QStringLiteral("请稍等,正在更新修改..."));
    EXPECT_EQ(labelPaints.texts, QStringList{QStringLiteral("请稍等,正在更新修改...")});
    EXPECT_EQ(buttonPaints.texts, QStringList{QStringLiteral("更新...")});
    EXPECT_FALSE(button->isEnabled());

    running.setChecked(false);
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(button->text(), QStringLiteral("更新"));
}

}  // namespace
}  // namespace dbkeel::test
