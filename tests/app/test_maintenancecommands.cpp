#include "commandids.h"
#include "ctamvoview.h"
#include "dbbackup.h"
#include "dbconnection.h"
#include "dbrecordset.h"
#include "dbmaintenance.h"
#include "gridctrl.h"
#include "mainframe.h"
#include "tamvoapp.h"
#include "testsupport.h"

#include <QTest>

// The system menu's maintenance commands in the running program, with the archive open
// and an unsaved deletion in it: the backup leaves the window alone and copies what is
// saved; the restore and the compaction first close it with its own question.
class TestMaintenanceCommands : public QObject
{
    Q_OBJECT

    TempHerdDb* m_db = nullptr;
    CTamvoApp* m_app = nullptr;
    QString m_answer;

    CTamvoView* archive() const { return qobject_cast<CTamvoView*>(m_app->mainFrame()->screen(CTamvoView::kCommandId)); }

    // The archive with its only card deleted but not saved.
    void openArchiveWithUnsavedWork()
    {
        QVERIFY(m_app->mainFrame()->runCommand(CTamvoView::kCommandId));
        CTamvoView* v = archive();
        QVERIFY(v);
        QCOMPARE(v->grid()->GetItemText(1, 1), QStringLiteral("LLYY00000000001"));
        v->grid()->SetFocusCell(1, 3);
        QVERIFY(v->runCommand(Cmd::Delete));
        QVERIFY(v->isModified());
    }

private slots:
    void init()
    {
        m_db = new TempHerdDb;
        QVERIFY(m_db->exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000001','F','no')")));
        m_app = new CTamvoApp;
        CommandLine cl;
        cl.database = m_db->path();
        cl.noSplash = true;
        QVERIFY(m_app->InitInstance(cl));
        DbMaintenance::setFileChooser([this](bool, const QString&, QWidget*) { return m_answer; });
    }

    void cleanup()
    {
        DbMaintenance::setFileChooser({});
        {
            ScriptedMessages quiet; // any question left is answered No
            m_app->mainFrame()->close();
            m_app->ExitInstance();
        }
        delete m_app;
        delete m_db;
    }

    void backupLeavesTheWindowAndCopiesWhatIsSaved()
    {
        openArchiveWithUnsavedWork();
        ScriptedMessages msgs;
        m_answer = m_db->dir() + QStringLiteral("/copy.db");
        QVERIFY(m_app->mainFrame()->runCommand(Cmd::DbBackup));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("数据库备份成功!")});
        QVERIFY(archive() && archive()->isModified());
        QCOMPARE(QFileInfo(m_answer).exists(), true);
        CDbConnection c;
        QVERIFY(c.Open(m_answer));
        CDbRecordset rs(&c);
        QVERIFY(rs.Open(QStringLiteral("select count(*) from 种猪卡")));
        int n = 0;
        QVERIFY(rs.GetFieldInt(0, n));
        QCOMPARE(n, 1);
    }

    void restoreClosesTheWindowWithItsQuestion()
    {
        QVERIFY(m_db->exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000002','F','no')")));
        const QString backup = m_db->dir() + QStringLiteral("/two.db");
        QVERIFY(DbBackup::copyDatabase(m_db->path(), backup));
        QVERIFY(m_db->exec(QStringLiteral("delete from 种猪卡 where 耳号='LLYY00000000002'")));
        openArchiveWithUnsavedWork();
        ScriptedMessages msgs;
        msgs.queue(MsgAnswer::No); // drop the unsaved deletion
        m_answer = backup;
        QVERIFY(m_app->mainFrame()->runCommand(Cmd::DbRestore));
        QCOMPARE(msgs.texts(), (QStringList{QStringLiteral("记录已经修改，要保存吗？"), QStringLiteral("数据库恢复成功!")}));
        QVERIFY(!archive());
        QCOMPARE(m_db->rows(QStringLiteral("select 耳号 from 种猪卡 order by 耳号")),
                 (QStringList{QStringLiteral("LLYY00000000001"), QStringLiteral("LLYY00000000002")}));
    }

    void compactionSavesTheWindowsWorkWhenAskedTo()
    {
        openArchiveWithUnsavedWork();
        ScriptedMessages msgs;
        msgs.queue(MsgAnswer::Yes); // saved, then compacted
        QVERIFY(m_app->mainFrame()->runCommand(Cmd::DbCompact));
        QCOMPARE(msgs.texts(), (QStringList{QStringLiteral("记录已经修改，要保存吗？"), QStringLiteral("数据库压缩成功！")}));
        QVERIFY(!archive());
        QCOMPARE(m_db->scalar(QStringLiteral("select count(*) from 种猪卡")), QStringLiteral("0"));
        QCOMPARE(m_db->scalar(QStringLiteral("pragma journal_mode")), QStringLiteral("wal"));
    }
};

QTEST_MAIN(TestMaintenanceCommands)
#include "test_maintenancecommands.moc"
