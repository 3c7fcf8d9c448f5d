// The application the window tests run in (offscreen platform, set by ctest).
#include <QApplication>
#include <gtest/gtest.h>

namespace {

class ScreenTestApp : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_dictionary_screens";
        static char *argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    void TearDown() override { delete app; }

private:
    QApplication *app = nullptr;
};

::testing::Environment *const screenTestApp = ::testing::AddGlobalTestEnvironment(new ScreenTestApp);

}  // namespace
