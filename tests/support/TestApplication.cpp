// One QApplication for a whole window test program (ctest runs it on the offscreen platform).
// Linked into every test registered as a WINDOW test; like the program, it answers prompts with Qt
// dialogs unless a test sets its own prompt.

#include "platform/QtPrompt.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class TestApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "dbkeel-test";
        static char *argv[] = {name, nullptr};
        if (!QApplication::instance())
            m_app = new QApplication(argc, argv);
        dbkeel::setPrompt(&m_dialogs);
    }
    void TearDown() override
    {
        dbkeel::setPrompt(nullptr);
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication *m_app = nullptr;
    dbkeel::QtPrompt m_dialogs;
};

::testing::Environment *const testApplication = ::testing::AddGlobalTestEnvironment(new TestApplication);

}  // namespace
