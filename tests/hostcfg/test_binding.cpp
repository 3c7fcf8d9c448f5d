// HostLib: loading by variant name, a missing library, missing exports and unload.

#include "tests/support/HostTestSystem.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace dbkeel;

namespace {

TEST(HostLibTest, LibraryFileNameFollowsTheVariant)
{
    const std::pair<int, const char *> cases[] = {{1, "libHostCfg.so"},   {0, "libHostCfg.so"},
                                                  {2, "libHostCfg2b.so"}, {4, "libHostCfg4b.so"},
                                                  {8, "libHostCfg8b.so"}, {16, "libHostCfg16b.so"},
                                                  {3, "libHostCfg.so"},   {32, "libHostCfg.so"}};
    for (const auto &[variant, name] : cases)
        EXPECT_EQ(HostLib::libraryFileName(variant), QLatin1String(name)) << variant;
}

// Every wrapper, called with harmless arguments.
std::vector<std::pair<const char *, std::function<int(HostLib &)>>> everyWrapper()
{
    static char text[16] = "abc", data[2072];
    return {
        {"getHostCfg",
         [](HostLib &h) {
             HostConfigRecord r;
             return h.getHostCfg(r);
         }},
        {"getField",
         [](HostLib &h) {
             QByteArray out;
             return h.getField("a,b", out, 0);
         }},
        {"getField2",
         [](HostLib &h) {
             QByteArray out;
             return h.getField2("a|b", out, 0, '|');
         }},
        {"getVers",
         [](HostLib &h) {
             QByteArray v, n, d;
             return h.getVers("", v, n, d);
         }},
        {"postLog", [](HostLib &h) { return h.postLog("x"); }},
        {"getHostIP",
         [](HostLib &h) {
             LocalIpList l;
             return h.getHostIP(l);
         }},
        {"openNet", [](HostLib &h) { return h.openNet(10, 0, 0, 9898); }},
        {"closeNet", [](HostLib &h) { return h.closeNet(15); }},
        {"sendNetData", [](HostLib &h) { return h.sendNetData(10, "127.0.0.1", 9, data, 2072); }},
        {"readNetData", [](HostLib &h) { return h.readNetData(10, data, 2072); }},
        {"waitNetData", [](HostLib &h) { return h.waitNetData(10, 0); }},
        {"wakeNet", [](HostLib &h) { return h.wakeNet(10); }},
        {"scanPort", [](HostLib &h) { return h.scanPort("127.0.0.1", 9); }},
        {"trimLeft", [](HostLib &h) { return h.trimLeft(text, ' '); }},
        {"trimRight", [](HostLib &h) { return h.trimRight(text, ' '); }},
    };
}

void expectAllMissing(HostLib &lib)
{
    for (const auto &[name, call] : everyWrapper())
        EXPECT_EQ(call(lib), kHostMissing) << name;
}

TEST(HostLibTest, MissingLibraryLeavesEveryWrapperMissing)
{
    QTemporaryDir empty;
    HostLib lib;
    EXPECT_LT(lib.load(1, empty.path()), 0);
    EXPECT_FALSE(lib.isLoaded());
    EXPECT_FALSE(lib.errorString().isEmpty());
    expectAllMissing(lib);

    QByteArray out = "stale";
    lib.getField("a,b", out, 0);
    EXPECT_TRUE(out.isEmpty());
}

TEST(HostLibTest, VariantLoadsItsOwnFileAndUnloadNullsEveryPointer)
{
    const QString dir = test::folderWithLibrary(QStringLiteral("libHostCfg.so"), QStringLiteral("libHostCfg4b.so"));
    HostLib lib;
    EXPECT_LT(lib.load(1, dir), 0);
    ASSERT_EQ(lib.load(4, dir), 1) << lib.errorString().toStdString();
    EXPECT_TRUE(lib.isLoaded());
    QByteArray out;
    EXPECT_EQ(lib.getField("a,b", out, 1), 2);

    lib.unload();
    EXPECT_FALSE(lib.isLoaded());
    expectAllMissing(lib);
}

// Two bindings of one file (the program's and a component's): each answers for itself, and one
// that let go stays unbound while the other still holds the library.
TEST(HostLibTest, EachBindingOfTheSameFileKeepsItsOwnState)
{
    const QString dir = test::folderWithLibrary(QStringLiteral("libHostCfg.so"), QStringLiteral("libHostCfg.so"));
    HostLib program, component;
    EXPECT_FALSE(component.isLoaded());
    ASSERT_EQ(program.load(1, dir), 1);
    EXPECT_FALSE(component.isLoaded());
    ASSERT_EQ(component.load(1, dir), 1);
    component.unload();
    EXPECT_FALSE(component.isLoaded());
    expectAllMissing(component);
    EXPECT_TRUE(program.isLoaded());
    QByteArray out;
    EXPECT_EQ(program.getField("a,b", out, 1), 2);
    program.unload();
    EXPECT_FALSE(program.isLoaded());
}

TEST(HostLibTest, MissingExportsAnswerMissingAndTheRestWork)
{
    const QString dir = test::folderWithLibrary(QStringLiteral("libhostcfg_partial.so"),
                                                QStringLiteral("libHostCfg.so"));
    HostLib lib;
    EXPECT_EQ(lib.load(1, dir), -2);
    EXPECT_TRUE(lib.errorString().contains(QStringLiteral("GetHostCfg")));
    EXPECT_TRUE(lib.errorString().contains(QStringLiteral("TrimRight")));
    for (const auto &[name, call] : everyWrapper())
        EXPECT_EQ(call(lib) == kHostMissing, std::string(name) != "getField") << name;
    QByteArray out;
    lib.getField("a", out, 0);
    EXPECT_EQ(out, "partial");
}

}  // namespace
