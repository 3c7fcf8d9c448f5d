// The history kept before replacing writes, on the demo installation: a bundle import, a layout Build and a
// sub-ID import undone by restoring their entries, the screens telling where the entries went; the bound; a
// history that cannot be written stopping the write; a damaged entry refused.

#include "composition/BaseBundle.h"
#include "composition/BundleEditor.h"
#include "composition/LineLayoutEditor.h"
#include "core/WriteHistory.h"
#include "dictionaries/SubIdEditor.h"
#include "platform/Profile.h"
#include "tests/composition/CompositionFixture.h"

#include <QFileInfo>

#include <algorithm>

namespace dbkeel::test {
namespace {

struct SilentLog : BundleLog {
    QStringList failures;
    void add(const QString &line, bool failure) override
    {
        if (failure)
            failures << line;
    }
};

class WriteHistory : public DictionaryFixture {
protected:
    void SetUp() override
    {
        DictionaryFixture::SetUp();
        run(QString::fromUtf8(readFileBytes(sourceDir() + QStringLiteral("/schema/demo-data.sql"))));
        upgradeSchema();
    }
    // Every row of the tables, in a stable order.
    static QString snapshot(const QStringList &tables)
    {
        QString all;
        for (const QString &table : tables) {
            QStringList lines = rows(QStringLiteral("select * from %1").arg(table)).split(u'|');
            std::sort(lines.begin(), lines.end());
            all += table + u':' + lines.join(u'|') + u'\n';
        }
        return all;
    }
    // Every entry kept since the test began undone, newest first, as `dbkeel-cli history restore` does.
    static void restoreAll(qsizetype entries)
    {
        const QList<HistoryEntry> kept = historyEntries();
        ASSERT_EQ(kept.size(), entries);
        for (qsizetype i = kept.size() - 1; i >= 0; --i)
            restoreHistory(sharedDb(), kept.at(i));
    }
    static QStringList bundleTables()
    {
        QStringList tables;
        for (const BundleSection &section : bundleSections())
            tables << section.table;
        return tables;
    }
};

TEST_F(WriteHistory, BundleImportIsUndoneByItsEntries)
{
    const QString path = dir.filePath(QStringLiteral("ALLLINEDATA.ALLINE"));
    SilentLog log;
    ASSERT_TRUE(exportBundle(sharedDb(), path, log));
    ProfileFile bundle(path);
    // A bundle of one device: every other device goes.
    const QString devices = QStringLiteral("tb_id_devid");
    ASSERT_TRUE(bundle.writeString(devices, QStringLiteral("NUM"), QStringLiteral("1")));
    for (int k = 1; k < 36; ++k)
        ASSERT_TRUE(bundle.removeKey(devices, QString::number(k)));
    ASSERT_TRUE(bundle.save());
    const QString before = snapshot(bundleTables());

    ASSERT_TRUE(importBundle(sharedDb(), path, log)) << log.failures.join(u'\n').toStdString();
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_devid")), QStringLiteral("1"));
    const QList<HistoryEntry> entries = historyEntries();
    ASSERT_EQ(entries.size(), 5);  // one per section
    EXPECT_EQ(entries.first().action, QStringLiteral("bundle-import"));
    EXPECT_EQ(entries.first().tableNames(), QStringList{QStringLiteral("tb_id_devid")});
    EXPECT_EQ(entries.first().rowCounts(), QStringLiteral("tb_id_devid 36"));
    EXPECT_TRUE(QFileInfo(entries.first().path).fileName().contains(QStringLiteral("_bundle-import_")));

    restoreAll(5);
    EXPECT_EQ(snapshot(bundleTables()), before);
    // Each restore kept what it replaced first.
    EXPECT_EQ(historyEntries().size(), 10);
    EXPECT_EQ(historyEntries().last().action, QStringLiteral("restore"));
}

TEST_F(WriteHistory, LayoutBuildIsUndoneByItsEntry)
{
    const QStringList tables{QStringLiteral("tb_line_info"), QStringLiteral("tb_login_lineindex")};
    LineLayoutEditor editor;
    editor.open();
    const QString before = snapshot(tables);
    ASSERT_EQ(editor.list().rowCount(), 12);
    prompts.answer(PromptButton::Ok);  // delete the row?
    editor.deleteRow(11);
    prompts.answer(PromptButton::Ok);  // 已经建立
    EXPECT_EQ(editor.build(), LineLayoutEditor::BuildEnd::Close);
    EXPECT_NE(snapshot(tables), before);
    ASSERT_EQ(historyEntries().size(), 1);
    EXPECT_EQ(editor.status().left(), QStringLiteral("建立工位配置成功!  历史记录: ") + historyEntries().at(0).path);

    restoreAll(1);
    EXPECT_EQ(snapshot(tables), before);
}

TEST_F(WriteHistory, SubIdImportIsUndoneByItsEntry)
{
    const QString path = dir.filePath(QStringLiteral("TRANSINFO.TRANSINFO"));
    ProfileFile file(path);
    ASSERT_TRUE(file.writeStrings(SubIdEditor::kSection,
                                  {"INFOID-0", "INFOIDABOUT-0", "INFOSUBID-0", "INFOSUBIDABOUT-0", "INFOBYNAME-0",
                                   "INFOBYID-0", "NUM"},
                                  {"1005", "燃料种类", "10050099", "氢", "", "", "1"}));
    ASSERT_TRUE(file.save());
    const QString before = snapshot({QStringLiteral("tb_login_ini")});

    SubIdEditor editor;
    prompts.answerFile(path).answer(PromptButton::Ok);  // 导入成功
    editor.importFile();
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("导入成功"));
    EXPECT_EQ(rows(QStringLiteral("select infovalue_about from tb_login_ini where infosubid = 10050099")),
              QStringLiteral("氢"));
    ASSERT_EQ(historyEntries().size(), 1);
    EXPECT_EQ(editor.status().left(), QStringLiteral("历史记录: ") + historyEntries().at(0).path);

    restoreAll(1);
    EXPECT_EQ(snapshot({QStringLiteral("tb_login_ini")}), before);
}

// The bundle screen tells it in its process log, after the build's own last line.
TEST_F(WriteHistory, TheOneKeyBuildTellsItsProcessLogWhereTheEntryWent)
{
    BundleEditor editor;
    prompts.answer(PromptButton::Ok);  // 是否重新创建全部
    editor.buildCommand();
    ASSERT_EQ(historyEntries().size(), 1);
    EXPECT_TRUE(editor.log().text().startsWith(
        QStringLiteral("历史记录: %1\r\n重新创建成功!\r\n").arg(historyEntries().at(0).path)))
        << editor.log().text().toStdString();
}

TEST_F(WriteHistory, KeepsOnlyTheNewestEntriesOfTheBound)
{
    historySettings().keepEntries = 3;
    QStringList written;
    for (int i = 0; i < 5; ++i)
        written << QFileInfo(keepHistory(sharedDb(), QStringLiteral("test"), {QStringLiteral("tb_user")}))
                       .completeBaseName();
    QStringList kept;
    for (const HistoryEntry &entry : historyEntries())
        kept << entry.id;
    EXPECT_EQ(kept, written.mid(2));

    historySettings().keepEntries = 50;
    historySettings().keepMegabytes = 1;  // the demo's sub-IDs take less than a megabyte…
    for (int i = 0; i < 3; ++i)
        keepHistory(sharedDb(), QStringLiteral("test"), {QStringLiteral("tb_login_ini")});
    qint64 total = 0;
    for (const HistoryEntry &entry : historyEntries())
        total += QFileInfo(entry.path).size();
    EXPECT_LE(total, 1024 * 1024);
    historySettings().keepMegabytes = 0;  // …and a bound below one entry still keeps the newest
    keepHistory(sharedDb(), QStringLiteral("test"), {QStringLiteral("tb_user")});
    EXPECT_EQ(historyEntries().size(), 1);
}

TEST_F(WriteHistory, AnEntryThatCannotBeWrittenStopsTheWriteUnlessHistoryIsOff)
{
    writeFileBytes(dir.filePath(QStringLiteral("blocked")), "a file where the folder should be");
    historySettings().folder = dir.filePath(QStringLiteral("blocked/history"));
    const QString before = snapshot({QStringLiteral("tb_login_ini")});
    SubIdEditor editor;
    const QString path = dir.filePath(QStringLiteral("TRANSINFO.TRANSINFO"));
    ProfileFile file(path);
    ASSERT_TRUE(file.writeStrings(SubIdEditor::kSection, {"INFOID-0", "INFOSUBID-0", "INFOSUBIDABOUT-0", "NUM"},
                                  {"1005", "10050099", "氢", "1"}));
    ASSERT_TRUE(file.save());
    prompts.answerFile(path).answer(PromptButton::Ok);
    editor.importFile();
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("导入失败"));
    EXPECT_EQ(snapshot({QStringLiteral("tb_login_ini")}), before);
    EXPECT_EQ(editor.status().left(), QString());  // no entry, nothing said of one

    historySettings().enabled = false;
    DbReady = 1;
    prompts.answerFile(path).answer(PromptButton::Ok);
    editor.importFile();
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("导入成功"));
}

TEST_F(WriteHistory, ADamagedEntryIsRefusedWithoutChangingAnything)
{
    const QString kept = keepHistory(sharedDb(), QStringLiteral("test"), {QStringLiteral("tb_user")});
    const QString id = QFileInfo(kept).completeBaseName();
    QString error;
    EXPECT_FALSE(readHistoryEntry(QStringLiteral("../") + id, error));
    EXPECT_FALSE(readHistoryEntry(QStringLiteral("none"), error));
    EXPECT_EQ(error, QStringLiteral("没有历史记录 none"));

    const QString before = snapshot({QStringLiteral("tb_user")});
    const QByteArray original = readFileBytes(kept);
    const QList<std::pair<QString, QByteArray>> damages = {
        {QStringLiteral("tb_user; drop table tb_user"),
         QByteArray(original).replace("\"name\":\"tb_user\"", "\"name\":\"tb_user; drop table tb_user\"")},
        {QStringLiteral("a short row"), QByteArray(original).replace("[\"1\",", "[")},
        {QStringLiteral("not JSON"), original.left(original.size() / 2)},
    };
    for (const auto &[what, bytes] : damages) {
        ASSERT_NE(bytes, original) << what.toStdString();
        writeFileBytes(kept, bytes);
        const std::optional<HistoryEntry> entry = readHistoryEntry(id, error);
        if (entry) {
            EXPECT_THROW(restoreHistory(sharedDb(), *entry), DbError) << what.toStdString();
        }
        EXPECT_EQ(snapshot({QStringLiteral("tb_user")}), before) << what.toStdString();
    }
}

}  // namespace
}  // namespace dbkeel::test
