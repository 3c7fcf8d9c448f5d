#include "extensions/ExtensionComponent.h"
#include "platform/SharedLibrary.h"
#include "tests/support/TestSupport.h"

#include <QtEndian>
#include <gtest/gtest.h>

#include <cstring>

namespace dbkeel::test {
namespace {

QString library(const QString &name)
{
    return buildBinDir() + QLatin1Char('/') + name;
}

TEST(ExtensionComponent, GuardsMissingExportsAndExceptions)
{
    ExtensionComponent component;
    ASSERT_TRUE(component.load(library(QStringLiteral("libtest_throwing_component.so"))))
        << component.errorString().toStdString();
    EXPECT_EQ(component.init(nullptr, nullptr, 7), 7);
    EXPECT_EQ(component.show(1, 0, 0, 10, 10), 0);  // the exception stays inside the binder
    EXPECT_EQ(component.doModal(nullptr), 0);       // missing exports answer 0 without a call
    EXPECT_EQ(component.stop(), 0);
    EXPECT_EQ(component.release(), 0);
    EXPECT_EQ(component.devData(), nullptr);

    // Loaded once: another path is ignored while loaded.
    EXPECT_TRUE(component.load(library(QStringLiteral("libLoginBox.so"))));
    EXPECT_EQ(component.init(nullptr, nullptr, 3), 3);

    component.unload();
    EXPECT_FALSE(component.isLoaded());
    EXPECT_EQ(component.init(nullptr, nullptr, 3), 0);
}

TEST(ExtensionComponent, UnloadStopsAndReleasesAStartedComponentFirst)
{
    const QString path = library(QStringLiteral("libtest_recording_component.so"));
    SharedLibrary watcher;  // keeps the library mapped, to read its record after the unload
    ASSERT_TRUE(watcher.open(path)) << watcher.errorString().toStdString();
    const auto recorded = reinterpret_cast<const char *(*)()>(watcher.symbol("RecordedCalls"));
    ASSERT_NE(recorded, nullptr);

    ExtensionComponent component;
    ASSERT_TRUE(component.load(path));
    component.unload();  // never started: nothing to stop
    ASSERT_TRUE(component.load(path));
    component.init(nullptr, nullptr, 0);
    component.unload();
    ASSERT_TRUE(component.load(path));
    component.init(nullptr, nullptr, 0);
    component.stop();
    component.release();
    component.unload();  // released by its user: not again
    EXPECT_STREQ(recorded(), "init;stop;release;init;stop;release;");
}

TEST(ExtensionComponent, LoadFailureKeepsTheBinderUnloaded)
{
    ExtensionComponent component;
    for (const QString &path : {library(QStringLiteral("no-such-component.so")), QString()}) {
        EXPECT_FALSE(component.load(path));
        EXPECT_FALSE(component.isLoaded());
        EXPECT_FALSE(component.errorString().isEmpty());
        EXPECT_EQ(component.show(5), 0);
    }
}

TEST(InitRecord, FieldsAtTheirOffsets)
{
    int owner = 0;
    const QByteArray record = initRecord(QRect(10, 20, 300, 200), &owner, 2, 1, 0);
    ASSERT_EQ(record.size(), DBKEEL_INIT_SIZE);
    const char *bytes = record.constData();
    const qint32 rect[] = {10, 20, 310, 220};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(qFromLittleEndian<qint32>(bytes + DBKEEL_INIT_RECT + 4 * i), rect[i]) << i;
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes + DBKEEL_INIT_CONNECTION), 0);
    EXPECT_EQ(qFromLittleEndian<qint16>(bytes + DBKEEL_INIT_MODE), 2);
    for (int offset : {DBKEEL_INIT_FLAG1, DBKEEL_INIT_FLAG2, DBKEEL_INIT_FLAG3})
        EXPECT_EQ(qFromLittleEndian<qint32>(bytes + offset), 1) << offset;
    EXPECT_EQ(qFromLittleEndian<qint16>(bytes + DBKEEL_INIT_OWNER_FLAG), 1);
    void *stored = nullptr;
    std::memcpy(&stored, bytes + DBKEEL_INIT_OWNER, sizeof stored);
    EXPECT_EQ(stored, &owner);
    for (int offset : {DBKEEL_INIT_TEXT0, DBKEEL_INIT_TEXT1, DBKEEL_INIT_TEXT2, DBKEEL_INIT_TEXT3})
        EXPECT_EQ(bytes[offset], '\0');
}

}  // namespace
}  // namespace dbkeel::test
