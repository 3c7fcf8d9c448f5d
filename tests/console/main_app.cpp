// One QApplication for the whole test program; windows use the offscreen platform.

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class ConsoleTestApp : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_console";
        static char *argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
    }
    void TearDown() override { delete m_app; }

private:
    QApplication *m_app = nullptr;
};

::testing::Environment *const consoleTestApp = ::testing::AddGlobalTestEnvironment(new ConsoleTestApp);

}  // namespace
