#pragma once
// Window tests: a screen opened through its menu command, driven through its controls while
// the scripted prompt runs it modally.

#include "screens/ScreenRegistry.h"
#include "tests/support/DictionaryFixture.h"
#include "tests/support/TestScreenHost.h"

#include <QAbstractButton>
#include <QDialog>
#include <QTest>

namespace dbkeel::test {

class ScreenTest : public DictionaryFixture {
protected:
    template <typename Control>
    static Control *control(QDialog &screen, const char *objectName)
    {
        auto *found = screen.findChild<Control *>(QString::fromLatin1(objectName));
        EXPECT_NE(found, nullptr) << objectName;
        return found;
    }
    static void click(QDialog &screen, const char *objectName)
    {
        if (auto *button = control<QAbstractButton>(screen, objectName))
            button->click();
    }
    // Runs the menu command; `script` drives the screen and must close it.
    void openCommand(int commandId, ScriptedPrompt::DialogScript script)
    {
        const ScreenAction action = registeredCommand(commandId);
        ASSERT_TRUE(action) << commandId;
        prompts.answerModal(std::move(script));
        action(host);
    }
    TestScreenHost host;

    // With DBKEEL_SCREENSHOT_DIR set, the screen as it is drawn now goes to <dir>/<name>.png.
    static void screenshot(QWidget &screen, const QString &name)
    {
        const QString dir = qEnvironmentVariable("DBKEEL_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            screen.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
};

}  // namespace dbkeel::test
