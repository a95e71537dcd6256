#include "cadress.h"
#include "cman.h"
#include "cmaose.h"
#include "cpinzhong.h"
#include "csortlistctrl.h"
#include "pkmessages.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <memory>

namespace {

QStringList listRows(const CListEditDlg& dlg)
{
    QStringList rows;
    CSortListCtrl* list = dlg.list();
    for (int r = 0; r < list->GetItemCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < list->GetColumnCount(); ++c)
            cells << list->GetItemText(r, c);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList breedArray(const CPinZhong& dlg)
{
    QStringList out;
    for (int i = 0; i < CPinZhong::kCapacity && !dlg.m_list[i][0].isEmpty(); ++i)
        out << dlg.m_list[i][0] + QLatin1Char('|') + dlg.m_list[i][1];
    return out;
}

template <int N>
QStringList textArray(const QString (&a)[N])
{
    QStringList out;
    for (int i = 0; i < N && !a[i].isEmpty(); ++i)
        out << a[i];
    return out;
}

void fillBreeds(CPinZhong& dlg, const QStringList& entries)
{
    for (int i = 0; i < entries.size(); ++i) {
        dlg.m_list[i][0] = entries.at(i).section(QLatin1Char('|'), 0, 0);
        dlg.m_list[i][1] = entries.at(i).section(QLatin1Char('|'), 1, 1);
    }
}

bool editing(const CListEditDlg& dlg)
{
    return !dlg.control(CListEditDlg::IDC_CONFIRM)->isHidden() && !dlg.control(CListEditDlg::IDC_CANCEL_EDIT)->isHidden()
        && dlg.control(CListEditDlg::IDC_ADD)->isHidden() && !dlg.codeEdit()->isReadOnly();
}

bool browsing(const CListEditDlg& dlg)
{
    return dlg.control(CListEditDlg::IDC_CONFIRM)->isHidden() && dlg.control(CListEditDlg::IDC_CANCEL_EDIT)->isHidden()
        && !dlg.control(CListEditDlg::IDC_ADD)->isHidden() && !dlg.control(CListEditDlg::IDC_DELETE)->isHidden()
        && !dlg.control(CListEditDlg::IDC_MODIFY)->isHidden() && dlg.codeEdit()->isReadOnly()
        && dlg.mode() == CListEditDlg::Mode::None;
}

} // namespace

class TestListEditors : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void shapes_data();
    void shapes();
    void openingShowsEntriesBeforeFirstEmpty();
    void clickCopiesRow();
    void add_data();
    void add();
    void modify();
    void cancelEdit();
    void remove_data();
    void remove();
    void emptyEntryRefused();
    void fullList_data();
    void fullList();
    void closeButtons();
    void columnLayoutRemembered();
};

void TestListEditors::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("tamvo-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("test_listeditors"));
}

void TestListEditors::shapes_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<bool>("hasName");
    QTest::newRow("breeds") << "CPinZhong" << "品种设置" << "代号：" << QStringList{"代号", "名称"} << 30 << true;
    QTest::newRow("colours") << "CMaoSe" << "毛色种类设置" << "毛色：" << QStringList{"毛色"} << 30 << false;
    QTest::newRow("persons") << "CMan" << "设置兽医" << "姓名：" << QStringList{"姓名"} << 30 << false;
    QTest::newRow("places") << "CAdress" << "设置出售地点" << "地点" << QStringList{"地点"} << 100 << false;
}

void TestListEditors::shapes()
{
    QFETCH(QString, editor);
    QFETCH(QString, title);
    QFETCH(QString, label);
    QFETCH(QStringList, headings);
    QFETCH(int, capacity);
    QFETCH(bool, hasName);
    std::unique_ptr<CListEditDlg> dlg;
    if (editor == "CPinZhong") {
        dlg = std::make_unique<CPinZhong>();
    } else if (editor == "CMaoSe") {
        dlg = std::make_unique<CMaoSe>();
    } else if (editor == "CMan") {
        auto* d = new CMan;
        d->m_title = title;
        dlg.reset(d);
    } else {
        auto* d = new CAdress;
        d->m_title = title;
        dlg.reset(d);
    }
    dlg->show();
    QCOMPARE(dlg->windowTitle(), title);
    QCOMPARE(qobject_cast<QLabel*>(dlg->control(CListEditDlg::IDC_LABEL))->text(), label);
    QCOMPARE(dlg->capacity(), capacity);
    QCOMPARE(dlg->nameEdit() != nullptr, hasName);
    QCOMPARE(dlg->list()->GetColumnCount(), headings.size());
    for (int c = 0; c < headings.size(); ++c)
        QCOMPARE(dlg->list()->headerItem()->text(c), headings.at(c));
    QVERIFY(browsing(*dlg));
    QCOMPARE(dlg->saveButton()->text(), QStringLiteral("保存并退出"));
    QCOMPARE(dlg->quitButton()->text(), QStringLiteral("不保存退出"));
    dlg->reject();
}

void TestListEditors::openingShowsEntriesBeforeFirstEmpty()
{
    CPinZhong dlg;
    fillBreeds(dlg, {"LL|长白", "DD|杜洛克"});
    dlg.m_list[3][0] = "YY"; // after the first empty place: not in use
    dlg.OnInitDialog();
    QCOMPARE(listRows(dlg), (QStringList{"LL|长白", "DD|杜洛克"}));
    QCOMPARE(dlg.entryCount(), 2);
    QCOMPARE(dlg.list()->columnWidth(0), 60);
    QCOMPARE(dlg.list()->columnWidth(1), 150);
    QVERIFY(browsing(dlg));
    QVERIFY(dlg.nameEdit()->isReadOnly());
}

void TestListEditors::clickCopiesRow()
{
    CPinZhong dlg;
    fillBreeds(dlg, {"LL|长白", "DD|杜洛克"});
    dlg.OnInitDialog();
    dlg.list()->SelectItem(1);
    QCOMPARE(dlg.codeEdit()->text(), QStringLiteral("DD"));
    QCOMPARE(dlg.nameEdit()->text(), QStringLiteral("杜洛克"));
}

void TestListEditors::add_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("new code") << "YY" << true;
    QTest::newRow("same code") << "DD" << false;
    QTest::newRow("differs only in case") << "dd" << true;
    QTest::newRow("surrounding blanks ignored") << " LL " << false;
}

void TestListEditors::add()
{
    QFETCH(QString, code);
    QFETCH(bool, accepted);
    LibraryMessages messages;
    CPinZhong dlg;
    fillBreeds(dlg, {"LL|长白", "DD|杜洛克"});
    dlg.OnInitDialog();
    dlg.list()->SelectItem(0);
    dlg.OnAdd();
    QVERIFY(editing(dlg));
    QCOMPARE(dlg.mode(), CListEditDlg::Mode::Add);
    QVERIFY(dlg.codeEdit()->text().isEmpty());
    QVERIFY(dlg.nameEdit()->text().isEmpty());
    dlg.codeEdit()->setText(code);
    dlg.nameEdit()->setText("新品种");
    dlg.OnConfirm();
    QVERIFY(browsing(dlg));
    if (accepted) {
        const QString entry = code.trimmed() + "|新品种";
        QCOMPARE(breedArray(dlg), (QStringList{"LL|长白", "DD|杜洛克", entry}));
        QCOMPARE(listRows(dlg), (QStringList{"LL|长白", "DD|杜洛克", entry}));
        QVERIFY(messages.shown().isEmpty());
    } else {
        QCOMPARE(breedArray(dlg), (QStringList{"LL|长白", "DD|杜洛克"}));
        QCOMPARE(listRows(dlg), (QStringList{"LL|长白", "DD|杜洛克"}));
        QCOMPARE(messages.texts(), QStringList{"该品种已经存在!"});
        QCOMPARE(messages.shown().first().caption, QStringLiteral("塔沃种猪管理大师"));
        QCOMPARE(messages.shown().first().kind, ParamKit::MessageKind::Notice);
    }
}

void TestListEditors::modify()
{
    LibraryMessages messages;
    CPinZhong dlg;
    fillBreeds(dlg, {"LL|长白", "DD|杜洛克", "YY|大白"});
    dlg.OnInitDialog();
    dlg.list()->SelectItem(1);
    dlg.OnModify();
    QVERIFY(editing(dlg));
    QCOMPARE(dlg.codeEdit()->text(), QStringLiteral("DD")); // fields kept for editing
    dlg.codeEdit()->setText("DU");
    dlg.nameEdit()->setText("杜洛克猪");
    dlg.OnConfirm();
    QVERIFY(browsing(dlg));
    QCOMPARE(breedArray(dlg), (QStringList{"LL|长白", "DU|杜洛克猪", "YY|大白"}));
    QCOMPARE(listRows(dlg), (QStringList{"LL|长白", "DU|杜洛克猪", "YY|大白"}));

    // Modifying makes no duplicate check: the entry takes the code it is given.
    dlg.list()->SelectItem(2);
    dlg.OnModify();
    dlg.codeEdit()->setText("LL");
    dlg.OnConfirm();
    QCOMPARE(breedArray(dlg), (QStringList{"LL|长白", "DU|杜洛克猪", "LL|大白"}));
    QVERIFY(messages.shown().isEmpty());
}

void TestListEditors::cancelEdit()
{
    CMaoSe dlg;
    dlg.m_list[0] = "白";
    dlg.m_list[1] = "黑";
    dlg.OnInitDialog();
    dlg.OnAdd();
    dlg.codeEdit()->setText("花");
    dlg.OnCancelEdit();
    QVERIFY(browsing(dlg));
    dlg.list()->SelectItem(0);
    dlg.OnModify();
    dlg.codeEdit()->setText("灰");
    dlg.OnCancelEdit();
    QVERIFY(browsing(dlg));
    QCOMPARE(textArray(dlg.m_list), (QStringList{"白", "黑"}));
    QCOMPARE(listRows(dlg), (QStringList{"白", "黑"}));
}

void TestListEditors::remove_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("first, yes") << 0 << true << QStringList{"李四", "王五"};
    QTest::newRow("middle, yes") << 1 << true << QStringList{"张三", "王五"};
    QTest::newRow("last, yes") << 2 << true << QStringList{"张三", "李四"};
    QTest::newRow("first, no") << 0 << false << QStringList{"张三", "李四", "王五"};
}

void TestListEditors::remove()
{
    QFETCH(int, row);
    QFETCH(bool, yes);
    QFETCH(QStringList, expected);
    LibraryMessages messages;
    messages.queue(yes);
    CMan dlg;
    dlg.m_list[0] = "张三";
    dlg.m_list[1] = "李四";
    dlg.m_list[2] = "王五";
    dlg.OnInitDialog();
    dlg.list()->SelectItem(row);
    dlg.OnDelete();
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown().first().text, QStringLiteral("确认要删除吗？"));
    QCOMPARE(messages.shown().first().caption, QStringLiteral("删除"));
    QCOMPARE(messages.shown().first().kind, ParamKit::MessageKind::Question);
    QCOMPARE(textArray(dlg.m_list), expected);
    QCOMPARE(listRows(dlg), expected);
    // The places after the list are empty, so the caller reads exactly the entries left.
    QVERIFY(dlg.m_list[expected.size()].isEmpty());

    // With nothing chosen there is nothing to ask about.
    messages.clear();
    dlg.codeEdit()->clear();
    dlg.OnDelete();
    QVERIFY(messages.shown().isEmpty());
}

void TestListEditors::emptyEntryRefused()
{
    // An empty entry would end the list in the middle and lose every entry after it.
    LibraryMessages messages;
    CAdress dlg;
    dlg.m_list[0] = "本场";
    dlg.m_list[1] = "外场";
    dlg.OnInitDialog();
    dlg.OnAdd();
    dlg.OnConfirm();
    QCOMPARE(messages.texts(), QStringList{"地点不能为空!"});
    QVERIFY(editing(dlg)); // still open for a text
    dlg.OnCancelEdit();
    dlg.list()->SelectItem(0);
    dlg.OnModify();
    dlg.codeEdit()->setText("   ");
    dlg.OnConfirm();
    QCOMPARE(messages.shown().size(), 2);
    dlg.OnCancelEdit();
    QCOMPARE(textArray(dlg.m_list), (QStringList{"本场", "外场"}));
}

void TestListEditors::fullList_data()
{
    QTest::addColumn<bool>("places");
    QTest::newRow("30 persons") << false;
    QTest::newRow("100 places") << true;
}

void TestListEditors::fullList()
{
    QFETCH(bool, places);
    LibraryMessages messages;
    std::unique_ptr<CListEditDlg> dlg;
    if (places) {
        auto* d = new CAdress;
        for (int i = 0; i < CAdress::kCapacity; ++i)
            d->m_list[i] = QString("地点%1").arg(i);
        dlg.reset(d);
    } else {
        auto* d = new CMan;
        for (int i = 0; i < CMan::kCapacity; ++i)
            d->m_list[i] = QString("人%1").arg(i);
        dlg.reset(d);
    }
    dlg->OnInitDialog();
    const int capacity = dlg->capacity();
    QCOMPARE(dlg->entryCount(), capacity);
    dlg->OnAdd();
    QCOMPARE(messages.shown().size(), 1);
    QVERIFY(messages.texts().first().contains(QString::number(capacity)));
    QVERIFY(browsing(*dlg));
    QCOMPARE(dlg->list()->GetItemCount(), capacity);

    // After a deletion there is room again.
    messages.queue(true);
    dlg->list()->SelectItem(0);
    dlg->OnDelete();
    dlg->OnAdd();
    QVERIFY(editing(*dlg));
    dlg->codeEdit()->setText("新");
    dlg->OnConfirm();
    QCOMPARE(dlg->entryCount(), capacity);
    QCOMPARE(dlg->list()->GetItemText(capacity - 1, 0), QStringLiteral("新"));
}

void TestListEditors::closeButtons()
{
    CMaoSe dlg;
    dlg.show();
    dlg.saveButton()->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    dlg.show();
    dlg.quitButton()->click();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
}

void TestListEditors::columnLayoutRemembered()
{
    {
        CAdress dlg;
        dlg.show();
        dlg.list()->setColumnWidth(0, 321);
        dlg.reject();
    }
    CAdress again;
    again.OnInitDialog();
    QCOMPARE(again.list()->columnWidth(0), 321);
    // The breed editor shares the list's id but has two columns: it keeps its own widths.
    CPinZhong breeds;
    breeds.OnInitDialog();
    QCOMPARE(breeds.list()->columnWidth(0), 60);
}

QTEST_MAIN(TestListEditors)
#include "test_listeditors.moc"
