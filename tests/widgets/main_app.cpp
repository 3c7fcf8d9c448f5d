#include "WidgetTestApp.h"

// Registered before gtest_main runs the tests.
static ::testing::Environment *const widgetTestApp =
    ::testing::AddGlobalTestEnvironment(new dbkeel::test::WidgetTestApp);
