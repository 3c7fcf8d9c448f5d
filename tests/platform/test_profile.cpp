#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace dbkeel;
using dbkeel::test::readFileBytes;
using dbkeel::test::writeFileBytes;

namespace {

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}
QByteArray gbk(const char *utf8)
{
    return toGbk(u(utf8));
}

class ProfileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file(const QString &name = QStringLiteral("test.ini")) const { return dir.filePath(name); }
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

// Inside a scope, files are checked against an unprivileged user, so that a folder
// without write permission really refuses new files even when the tests run as root.
class AsUnprivilegedUser {
public:
    AsUnprivilegedUser() : m_wasRoot(geteuid() == 0)
    {
        if (m_wasRoot) {
            EXPECT_EQ(seteuid(65534), 0);
        }
    }
    ~AsUnprivilegedUser()
    {
        if (m_wasRoot) {
            EXPECT_EQ(seteuid(0), 0);
        }
    }

private:
    bool m_wasRoot;
};

}  // namespace

// ---- reading ------------------------------------------------------------------------------------

TEST_F(ProfileTest, ReadsValuesAsTheWindowsReaderDoes)
{
    writeFileBytes(file(), QByteArray("[section1]\r\n"
                                      "name1=val1\r\n"
                                      "name2=\"val2\"\r\n"
                                      "name3\r\n"
                                      "quoted='a','b'\r\n"
                                      "lone=\"abc\r\n"
                                      "mixed=\"abc'\r\n"
                                      "single=\"\r\n"
                                      "empty=\r\n"
                                      "  spaced  =   v  s  \r\n"
                                      "semi=a;b\r\n"
                                      "dup=first\r\n"
                                      "DUP=second\r\n"
                                      ";comment=x\r\n"
                                      "chinese=")
                               + gbk("检测线") + "\r\n"
                               + "[ section2 ]\r\n"
                                 "name1=other\r\n"
                                 "[broken\r\n"
                                 "after=yes\r\n"
                                 "[section1]\r\n"
                                 "hidden=1\r\n");
    struct Case {
        const char *section, *key, *defaultValue;
        int width;
        const char *expected;
    } cases[] = {
        {"section1", "name1", "def", 50, "val1"},
        {"SECTION1", "NaMe1", "def", 50, "val1"},
        {"section1", "name1", "def", 4, "val"},
        {"section1", "name1", "def", 1, ""},
        {"section1", "name1", "def", 0, ""},
        {"section1", "name2", "def", 50, "val2"},
        {"section1", "name2", "def", 3, "va"},
        {"section1", "quoted", "def", 50, "a','b"},
        {"section1", "lone", "def", 50, "\"abc"},
        {"section1", "mixed", "def", 50, "\"abc'"},
        {"section1", "single", "def", 50, "\""},
        {"section1", "empty", "def", 50, ""},
        {"section1", "name3", "def", 50, "def"},  // no '='
        {"section1", "spaced", "def", 50, "v  s"},
        {"section1", "semi", "def", 50, "a;b"},  // no inline comments
        {"section1", "dup", "def", 50, "first"},
        {"section1", ";comment", "def", 50, "def"},
        {"section1", "chinese", "def", 50, "检测线"},
        {"section1", "chinese", "def", 6, "检测"},  // 5 bytes: the third character does not fit
        {"section1", "chinese", "def", 4, "检"},
        {"section1", "chinese", "def", 2, ""},
        {"section2", "name1", "def", 50, "other"},  // "[ section2 ]"
        {"section2", "after", "def", 50, "yes"},    // "[broken" is no header
        {"section1", "hidden", "def", 50, "def"},   // only the first section of a name counts
        {"section1", "missing", "def  \t", 50, "def"},
        {"section1", "missing", "'def'", 50, "def"},
        {"section1", "missing", "default", 4, "def"},
        {"section1", "missing", "", 50, ""},
        {"nosection", "name1", "def", 50, "def"},
        {"section1", "", "def", 50, "def"},
    };
    const ProfileFile profile(file());
    for (const auto &c : cases) {
        const QString expected = u(c.expected);
        EXPECT_EQ(profile.readString(u(c.section), u(c.key), u(c.defaultValue), c.width), expected)
            << c.section << "/" << c.key << " width " << c.width;
        EXPECT_EQ(readProfileString(file(), u(c.section), u(c.key), u(c.defaultValue), c.width), expected)
            << c.section << "/" << c.key << " width " << c.width;
    }
}

TEST_F(ProfileTest, ReadsIntegersLikeAtoi)
{
    writeFileBytes(file(), "[n]\r\na=42A\r\nb=B\r\nc=\r\nd=\"17\"\r\ne=  -5\r\nf\r\n");
    struct Case {
        const char *key;
        int expected;
    } cases[] = {
        {"a", 42}, {"b", 0}, {"c", 7}, {"d", 17}, {"e", -5}, {"f", 7}, {"missing", 7},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readProfileInt(file(), "n", c.key, 7), c.expected) << c.key;
    EXPECT_EQ(readProfileInt(file("missing.ini"), "n", "a", 7), 7);
}

TEST_F(ProfileTest, ParsesEveryKindOfLineEnd)
{
    const char *ends[] = {"\r\n", "\n", "\r", "\r\n\r\n", "\n\r"};
    for (const char *end : ends) {
        const QByteArray eol(end);
        writeFileBytes(file(), "[a]" + eol + "k1=v1" + eol + "[b]" + eol + "k2=v2");
        EXPECT_EQ(readProfileString(file(), "a", "k1", "", 50), "v1") << eol.toHex().constData();
        EXPECT_EQ(readProfileString(file(), "b", "k2", "", 50), "v2") << eol.toHex().constData();
    }
}

TEST_F(ProfileTest, ListsSectionsAndKeys)
{
    writeFileBytes(file(),
                   "top=1\r\n[One]\r\nk1=1\r\nnovalue\r\n;c=1\r\nK1=2\r\nk2=\r\n[two]\r\nx=1\r\n[ONE]\r\nk3=1\r\n");
    const ProfileFile profile(file());
    EXPECT_EQ(profile.sectionNames(), QStringList({"One", "two"}));
    EXPECT_EQ(profile.keyNames("one"), QStringList({"k1", "k2"}));
    EXPECT_EQ(profile.keyNames("missing"), QStringList());
}

// ---- writing ------------------------------------------------------------------------------------

TEST_F(ProfileTest, WritesKeepEverythingElseByteForByte)
{
    const QString null;
    struct Case {
        const char *name;
        QByteArray before;
        QString section, key, value;
        QByteArray after;
    } cases[] = {
        {"replace in place keeps place and spelling", "[App1]\r\nKey1 = old\r\n; note\r\nkey2=x\r\n", "app1", "KEY1",
         "new", "[App1]\r\nKey1=new\r\n; note\r\nkey2=x\r\n"},
        {"new key after the last entry", "[App1]\r\nkey1=string1\r\n\r\n[App2]\r\nkey3=string3\r\n", "App1", "key2",
         "string2", "[App1]\r\nkey1=string1\r\nkey2=string2\r\n\r\n[App2]\r\nkey3=string3\r\n"},
        {"new key after the section's last line, not its blank lines", "[A]\r\n;c\r\n\r\n[B]\r\n", "A", "k", "v",
         "[A]\r\n;c\r\nk=v\r\n\r\n[B]\r\n"},
        {"new section at the end", "[App1]\r\nkey1=string1\r\n[App2]\r\nkey4=string4\r\n", "App3", "key5", "string5",
         "[App1]\r\nkey1=string1\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
        {"no final line end: new key", "[A]\r\nk=v", "A", "k2", "w", "[A]\r\nk=v\r\nk2=w\r\n"},
        {"no final line end: new section", "[A]\r\nk=v", "B", "x", "y", "[A]\r\nk=v\r\n[B]\r\nx=y\r\n"},
        {"LF-only file keeps its lines", "[A]\nk=v\n;note\n\n[B]\nz=1\n", "A", "k2", "w",
         "[A]\nk=v\n;note\nk2=w\r\n\n[B]\nz=1\n"},
        {"odd bytes and spacing untouched", "\x80\xff junk\r\n[A]\r\n  spaced = 1 \r\n\x81\r\n[B]\r\nq=1\r\n", "B", "q",
         "2", "\x80\xff junk\r\n[A]\r\n  spaced = 1 \r\n\x81\r\n[B]\r\nq=2\r\n"},
        {"same value changes nothing", "[A]\r\nk =  v\r\n", "A", "k", "v", "[A]\r\nk =  v\r\n"},
        {"leading blanks of the value dropped", "[A]\r\n", "A", "k", "  v ", "[A]\r\nk=v \r\n"},
        {"quotes written as passed", "[A]\r\n", "A", "k", "'a','b'", "[A]\r\nk='a','b'\r\n"},
        {"key without '=' gets its value", "[A]\r\nflag\r\n", "A", "flag", "1", "[A]\r\nflag=1\r\n"},
        {"first of duplicate keys", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", "3", "[A]\r\nk=3\r\nk=2\r\n"},
        {"first of duplicate sections", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", "A", "j", "3",
         "[A]\r\nk=1\r\nj=3\r\n[a]\r\nk=2\r\n"},
        {"no value removes the key", "[A]\r\nk=v\r\nj=w\r\n", "A", "k", null, "[A]\r\nj=w\r\n"},
        {"no key removes the section", "[A]\r\nk=v\r\n;c\r\n[B]\r\nj=w\r\n", "a", null, null, "[B]\r\nj=w\r\n"},
        {"removing what is missing changes nothing", "[A]\r\nk=v\r\n", "A", "x", null, "[A]\r\nk=v\r\n"},
    };
    for (const auto &c : cases) {
        writeFileBytes(file(), c.before);
        EXPECT_TRUE(writeProfileString(file(), c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(readFileBytes(file()), c.after) << c.name;
    }
}

TEST_F(ProfileTest, CreatesAMissingFileInGbk)
{
    ASSERT_TRUE(writeProfileString(file(), u("设备"), u("名称"), u("检测线")));
    const QByteArray bytes = readFileBytes(file());
    EXPECT_EQ(bytes, gbk("[设备]\r\n名称=检测线\r\n"));
    EXPECT_EQ(bytes.mid(bytes.indexOf('=') + 1, 2), QByteArray("\xBC\xEC"));  // 检
    EXPECT_EQ(readProfileString(file(), u("设备"), u("名称"), "", 50), u("检测线"));
}

TEST_F(ProfileTest, KeepsAByteOrderMarkAndItsEncoding)
{
    struct Case {
        const char *name;
        QStringConverter::Encoding encoding;
        QByteArray bom;
    } cases[] = {
        {"UTF-8", QStringConverter::Utf8, "\xEF\xBB\xBF"},
        {"UTF-16LE", QStringConverter::Utf16LE, "\xFF\xFE"},
    };
    for (const auto &c : cases) {
        QStringEncoder encoder(c.encoding);
        writeFileBytes(file(), c.bom + QByteArray(encoder.encode(u("[A]\r\nk=旧\r\n"))));
        EXPECT_EQ(readProfileString(file(), "A", "k", "", 50), u("旧")) << c.name;
        EXPECT_TRUE(writeProfileString(file(), "A", "k", u("新😀"))) << c.name;
        EXPECT_EQ(readFileBytes(file()), c.bom + QByteArray(encoder.encode(u("[A]\r\nk=新😀\r\n")))) << c.name;
    }
}

TEST_F(ProfileTest, RefusesWhatTheFileCannotCarry)
{
    const QByteArray before = "[A]\r\nk=v\r\n";
    struct Case {
        const char *name;
        QString section, key, value;
    } cases[] = {
        {"no section", "", "k", "x"},
        {"blank section", "  ", "k", "x"},
        {"line break in value", "A", "k", "x\r\n[B]\r\nj=1"},
        {"line break in section", "A\nB", "k", "x"},
        {"empty key", "A", "", "x"},
        {"key with '='", "A", "k=j", "x"},
        {"key like a header", "A", "[k", "x"},
        {"key like a comment", "A", ";k", "x"},
        {"text outside GBK", "A", "k", u("😀")},
    };
    for (const auto &c : cases) {
        writeFileBytes(file(), before);
        ProfileFile profile(file());
        EXPECT_FALSE(profile.writeString(c.section, c.key, c.value)) << c.name;
        EXPECT_FALSE(profile.lastError().isEmpty()) << c.name;
        EXPECT_FALSE(profile.hasUnsavedChanges()) << c.name;
        EXPECT_FALSE(writeProfileString(file(), c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(readFileBytes(file()), before) << c.name;
    }
}

TEST_F(ProfileTest, FailsWithoutLeavingAnythingWhenTheFolderCannotTakeIt)
{
    writeFileBytes(file("plain"), "x");
    const QString paths[] = {file("missing/test.ini"), file("plain/test.ini")};
    for (const QString &path : paths) {
        ProfileFile profile(path);
        ASSERT_TRUE(profile.writeString("A", "k", "v"));
        EXPECT_FALSE(profile.save()) << path.toStdString();
        EXPECT_FALSE(profile.lastError().isEmpty());
        EXPECT_TRUE(profile.hasUnsavedChanges());  // kept for a later attempt
        EXPECT_FALSE(writeProfileString(path, "A", "k", "v"));
    }
    EXPECT_EQ(entries(), QStringList({"plain"}));
    EXPECT_EQ(readFileBytes(file("plain")), "x");
}

TEST_F(ProfileTest, ExistingFileStaysWhenTheFolderIsReadOnly)
{
    const QString folder = dir.filePath("ro");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + "/test.ini";
    writeFileBytes(path, "[A]\r\nk=old\r\n");
    const auto readAndEnter = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                              | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), readAndEnter | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(folder, readAndEnter));
    {
        AsUnprivilegedUser unprivileged;
        ProfileFile profile(path);
        ASSERT_EQ(profile.readString("A", "k", "", 50), "old");
        ASSERT_TRUE(profile.writeString("A", "k", "new"));
        EXPECT_FALSE(profile.save());
        EXPECT_NE(profile.lastError(), QString());
        EXPECT_FALSE(writeProfileString(path, "A", "k", "new"));
    }
    EXPECT_EQ(readFileBytes(path), QByteArray("[A]\r\nk=old\r\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"test.ini"}));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(ProfileTest, NeverReplacesAFileItCouldNotRead)
{
    ASSERT_TRUE(QDir().mkdir(file()));  // a folder where the file should be
    EXPECT_FALSE(writeProfileString(file(), "A", "k", "v"));
    EXPECT_TRUE(QFileInfo(file()).isDir());
}

TEST_F(ProfileTest, SavesOnlyWhatChangedAndLeavesNoTemporary)
{
    writeFileBytes(file(), "[A]\r\nk=v\r\n");
    ProfileFile profile(file());
    ASSERT_TRUE(profile.writeString("A", "k", "v"));
    EXPECT_FALSE(profile.hasUnsavedChanges());
    ASSERT_TRUE(profile.writeString("A", "k", "w"));
    ASSERT_TRUE(profile.writeString("B", "j", "1"));
    EXPECT_EQ(readFileBytes(file()), "[A]\r\nk=v\r\n");  // kept in memory until saved
    EXPECT_EQ(profile.readString("A", "k", "", 50), "w");
    ASSERT_TRUE(profile.save());
    EXPECT_EQ(readFileBytes(file()), "[A]\r\nk=w\r\n[B]\r\nj=1\r\n");
    EXPECT_EQ(entries(), QStringList({"test.ini"}));
}

// A run of reads or writes looks at the file once and gives what the single calls give.
TEST_F(ProfileTest, RunsOfReadsAndWritesActAsTheSingleCalls)
{
    writeFileBytes(file(), QByteArray("[A]\r\nk1=\"quoted\"\r\nK2=long value\r\nbare\r\n"));
    ProfileFile profile(file());
    const QStringList keys{"k1", "k2", "bare", "missing"};
    const QStringList read = profile.readStrings("A", keys, "def ", 5);
    for (int i = 0; i < keys.size(); ++i)
        EXPECT_EQ(read.at(i), profile.readString("A", keys.at(i), "def ", 5)) << keys.at(i).toStdString();
    EXPECT_EQ(read, QStringList({"quot", "long", "def", "def"}));
    EXPECT_EQ(profile.readStrings("A", keys, "", 0), QStringList(4));

    ASSERT_TRUE(profile.writeStrings("A", {"k1", "new"}, {"1", u("值")}));
    EXPECT_FALSE(profile.writeStrings("A", {"k3", "bad=key", "k4"}, {"3", "x", "4"}));
    ASSERT_TRUE(profile.writeStrings("A", {"K2"}, {QString()}));  // a null value removes the key
    ASSERT_TRUE(profile.save());
    EXPECT_EQ(readFileBytes(file()), QByteArray("[A]\r\nk1=1\r\nbare\r\nnew=") + gbk("值") + "\r\nk3=3\r\n");
}

// ---- another process's change ----------------------------------------------------------------

TEST_F(ProfileTest, NoticesAnotherWritersChange)
{
    writeFileBytes(file(), "[A]\r\nk=1\r\n");
    const ProfileFile reader(file());
    EXPECT_EQ(reader.readString("A", "k", "", 50), "1");

    writeFileBytes(file(), "[A]\r\nk=22\r\n");  // rewritten in place
    EXPECT_EQ(reader.readString("A", "k", "", 50), "22");

    ASSERT_TRUE(writeProfileString(file(), "A", "k", "33"));  // replaced by rename, same size
    EXPECT_EQ(reader.readString("A", "k", "", 50), "33");

    QFile::remove(file());
    EXPECT_EQ(reader.readString("A", "k", "gone", 50), "gone");
}

TEST_F(ProfileTest, UnsavedWritesSurviveAnotherWritersChange)
{
    writeFileBytes(file(), "[A]\r\nk=1\r\n");
    ProfileFile mine(file());
    ASSERT_TRUE(mine.writeString("A", "mine", "m"));
    ASSERT_TRUE(writeProfileString(file(), "A", "theirs", "t"));

    EXPECT_EQ(mine.readString("A", "theirs", "", 50), "t");
    EXPECT_EQ(mine.readString("A", "mine", "", 50), "m");
    ASSERT_TRUE(mine.save());
    EXPECT_EQ(readFileBytes(file()), "[A]\r\nk=1\r\ntheirs=t\r\nmine=m\r\n");
}

TEST_F(ProfileTest, AWriteThatAnotherWritersEncodingCannotCarryIsNotSaved)
{
    writeFileBytes(file(), "\xEF\xBB\xBF[A]\r\nk=1\r\n");
    ProfileFile mine(file());
    ASSERT_TRUE(mine.writeString("A", "k", u("😀")));  // UTF-8 carries it
    ASSERT_TRUE(mine.writeString("A", "j", "2"));
    const QByteArray theirs = "[A]\r\nk=1\r\nt=3\r\n";  // rewritten in GBK, which does not
    writeFileBytes(file(), theirs);

    EXPECT_FALSE(mine.writeString("A", "new", u("😀")));  // judged against the file as it now is
    EXPECT_EQ(mine.readString("A", "t", "", 50), "3");
    EXPECT_FALSE(mine.save());
    EXPECT_TRUE(mine.lastError().contains(u("😀"))) << mine.lastError().toStdString();
    EXPECT_TRUE(mine.hasUnsavedChanges());
    EXPECT_EQ(readFileBytes(file()), theirs);
}

// ---- exchange files ---------------------------------------------------------------------------

TEST_F(ProfileTest, WritesTheDeviceExchangeFileLayout)
{
    const QString path = file("tb_id_devid.TBIDDEV");
    ProfileFile exchange(path);
    ASSERT_TRUE(exchange.writeString("tb_id_devid", "0", u("name,1,A,说明,")));
    ASSERT_TRUE(exchange.writeString("tb_id_devid", "NUM", "1"));
    ASSERT_TRUE(exchange.save());
    EXPECT_EQ(readFileBytes(path), gbk("[tb_id_devid]\r\n0=name,1,A,说明,\r\nNUM=1\r\n"));

    // A later export merges: keys written replace older ones, the rest stays.
    writeFileBytes(path, "[other]\r\nx=1\r\n[tb_id_devid]\r\n0=a,1,,,\r\n1=b,2,,,\r\nNUM=2\r\n");
    ProfileFile again(path);
    ASSERT_TRUE(again.writeString("tb_id_devid", "0", "c,3,,,"));
    ASSERT_TRUE(again.writeString("tb_id_devid", "NUM", "1"));
    ASSERT_TRUE(again.save());
    EXPECT_EQ(readFileBytes(path), "[other]\r\nx=1\r\n[tb_id_devid]\r\n0=c,3,,,\r\n1=b,2,,,\r\nNUM=1\r\n");
}

TEST_F(ProfileTest, QuotedRowsReadBackWithoutTheirOuterPair)
{
    ASSERT_TRUE(writeProfileString(file(), "tb_type_base_ini", "Itemval_0", "'a','b'"));
    EXPECT_EQ(readFileBytes(file()), "[tb_type_base_ini]\r\nItemval_0='a','b'\r\n");
    EXPECT_EQ(readProfileString(file(), "tb_type_base_ini", "Itemval_0", "", 2048), "a','b");
}

// ---- paths --------------------------------------------------------------------------------------

TEST(Paths, SystemDirectoryFollowsTheEnvironment)
{
    const QByteArray saved = qgetenv("DBKEEL_SYSDIR");
    qputenv("DBKEEL_SYSDIR", "/opt/zetra/system");
    EXPECT_EQ(systemDirectory(), "/opt/zetra/system");
    qunsetenv("DBKEEL_SYSDIR");
    EXPECT_EQ(systemDirectory(), QDir::homePath() + "/.local/share/dbkeel/system");
    if (!saved.isNull())
        qputenv("DBKEEL_SYSDIR", saved);
}

TEST(Paths, JoinsWithOneSeparator)
{
    struct Case {
        const char *a, *b, *expected;
    } cases[] = {
        {"/d/config", "dbtool.ini", "/d/config/dbtool.ini"},
        {"/d/config/", "dbtool.ini", "/d/config/dbtool.ini"},
        {"/d/config/", "/dbtool.ini", "/d/config/dbtool.ini"},
        {"/", "x", "/x"},
        {"dir", "", "dir/"},
        {"", "x", "x"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(joinPath(c.a, c.b), QString(c.expected)) << c.a << " + " << c.b;
}
