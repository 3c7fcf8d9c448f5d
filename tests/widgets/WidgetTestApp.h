#pragma once
// One QApplication for the whole test program (window tests run on the offscreen platform).

#include <QApplication>
#include <gtest/gtest.h>

namespace dbkeel::test {

class WidgetTestApp : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_widgets";
            static char *argv[] = {name, nullptr};
            m_app = new QApplication(argc, argv);
        }
    }
    void TearDown() override { delete m_app; }

private:
    QApplication *m_app = nullptr;
};

}  // namespace dbkeel::test
