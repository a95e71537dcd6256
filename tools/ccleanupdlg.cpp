#include "ccleanupdlg.h"

#include "appmessage.h"
#include "appclock.h"
#include "dbmaintenance.h"
#include "gridscreen.h"
#include "textutil.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

struct Category {
    const char* item;
    const char* confirmation;
};

const Category kFirst[] = {{"发生的所有数据", "发生的所有数据"},
                           {"出生的档案数据", "出生的种猪档案数据"},
                           {"参加配种的配种数据", "参加配种的配种数据"},
                           {"生产的产仔数据", "生产的产仔数据"},
                           {"转群的转群数据(含种猪)", "转群的转群数据"}};
const Category kSecond[] = {{"转群的肥育猪转群数据", "转群的肥育猪转群数据"},
                            {"转群的后备猪转群数据", "转群的后备猪转群数据"},
                            {"死亡的猪群基本和转群数据", "死亡的猪群的基本和转群数据"},
                            {"出售的仔猪转群数据", "出售的仔猪转群数据"},
                            {"出售的种猪所有数据", "出售的种猪所有数据"},
                            {"淘汰的种猪所有数据", "淘汰的种猪所有数据"}};

// Restores the normal cursor however the cleanup ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

CCleanupDlg::CCleanupDlg(QWidget* parent)
    : QDialog(parent)
    , m_date1(new QDateEdit(this))
    , m_kind1(new QComboBox(this))
    , m_date2(new QDateEdit(this))
    , m_kind2(new QComboBox(this))
    , m_status(new QLabel(this))
{
    setWindowTitle(QStringLiteral("数据库清理"));
    auto* layout = new QGridLayout(this);
    auto addFamily = [&](int row, QDateEdit* date, QComboBox* kind, int family) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        date->setDate(AppClock::today());
        kind->addItems(categories(family));
        auto* button = new QPushButton(QStringLiteral("清理"), this);
        connect(button, &QPushButton::clicked, this, [this, family] { cleanUp(family); });
        layout->addWidget(new QLabel(QStringLiteral("清理"), this), row, 0);
        layout->addWidget(date, row, 1);
        layout->addWidget(new QLabel(QStringLiteral("之前"), this), row, 2);
        layout->addWidget(kind, row, 3);
        layout->addWidget(button, row, 4);
    };
    addFamily(0, m_date1, m_kind1, 1);
    addFamily(1, m_date2, m_kind2, 2);
    auto* note = new QLabel(QStringLiteral("注意:\n     清理数据库之前请备份数据库,并关闭其他操作窗口!!\n请确认清理操作!!"), this);
    note->setStyleSheet(QStringLiteral("color: #b00000;"));
    layout->addWidget(note, 2, 0, 1, 5);
    auto* buttons = new QHBoxLayout;
    auto* backup = new QPushButton(QStringLiteral("备份数据库"), this);
    auto* restore = new QPushButton(QStringLiteral("还原数据库"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    buttons->addWidget(backup);
    buttons->addWidget(restore);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons, 3, 0, 1, 5);
    m_status->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(m_status, 4, 0, 1, 5);
    layout->setColumnStretch(3, 1);

    connect(backup, &QPushButton::clicked, this, [this] { DbMaintenance::run(DbMaintenance::Backup, m_path, this); });
    connect(restore, &QPushButton::clicked, this, [this] {
        // The dialog's own connection is no reason for the restore to wait.
        closeConnection();
        DbMaintenance::run(DbMaintenance::Restore, m_path, this);
        reopen();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

CCleanupDlg::~CCleanupDlg() = default;

QStringList CCleanupDlg::categories(int family)
{
    QStringList items;
    if (family == 1)
        for (const Category& c : kFirst)
            items << QString::fromUtf8(c.item);
    else
        for (const Category& c : kSecond)
            items << QString::fromUtf8(c.item);
    return items;
}

QString CCleanupDlg::confirmationText(int family, int index)
{
    if (family == 1 && index >= 0 && index < int(std::size(kFirst)))
        return QString::fromUtf8(kFirst[index].confirmation);
    if (family == 2 && index >= 0 && index < int(std::size(kSecond)))
        return QString::fromUtf8(kSecond[index].confirmation);
    return QString();
}

bool CCleanupDlg::setUp(const QString& databasePath)
{
    m_path = databasePath.isEmpty() ? CGridScreen::defaultDatabasePath() : databasePath;
    return reopen();
}

bool CCleanupDlg::reopen()
{
    if (!m_connection.Open(m_path)) {
        AppStandardMessage(QStringLiteral("数据库连接失败!"), this);
        return false;
    }
    m_walk.SetConnection(&m_connection);
    m_exec.SetConnection(&m_connection);
    return true;
}

void CCleanupDlg::closeConnection()
{
    m_walk.Close();
    m_exec.Close();
    m_connection.Close();
}

QString CCleanupDlg::statusText() const
{
    return m_status->text();
}

void CCleanupDlg::setStatus(const QString& text)
{
    m_status->setText(text);
    m_status->repaint();
}

bool CCleanupDlg::cleanUp(int family)
{
    setStatus(QStringLiteral("  准备清理数据库"));
    const QDate date = dateEdit(family)->date();
    const int index = categoryList(family)->currentIndex();
    const QString question = QStringLiteral("您将清理") + date.toString(QStringLiteral("yyyy年MM月dd日")) + QStringLiteral("之前") +
                             confirmationText(family, index) + QStringLiteral("\n取消改项操作请按 '取消' ");
    // The open screens go first: their connections would keep the compaction from
    // running, and their unsaved work is theirs to save or drop.
    if (AppMessageBox(question, QStringLiteral("警告"), MsgIcon::Warning, MsgButtons::OkCancel, this) != MsgAnswer::Ok ||
        !DbMaintenance::closeOpenScreens()) {
        setStatus(QStringLiteral("  取消清理数据库操作"));
        return false;
    }
    WaitCursor wait;
    setStatus(QStringLiteral("  正在清理数据库..."));
    if (!m_connection.IsOpen() && !reopen())
        return false;
    bool ok = m_connection.BeginTrans() > 0;
    ok = ok && runStatements(family, index, TextUtil::dateText(date));
    ok = ok && m_connection.CommitTrans();
    if (!ok) {
        if (m_connection.TransLevel() > 0)
            m_connection.RollbackTrans();
        setStatus(QStringLiteral("  清理数据库失败!"));
        AppMessageBox(QStringLiteral("清理数据库失败，数据没有改变!"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
        return false;
    }
    setStatus(QStringLiteral("  压缩数据库..."));
    closeConnection();
    DbMaintenance::compact(m_path);
    reopen();
    setStatus(QStringLiteral("  清理数据库完毕!"));
    return true;
}

bool CCleanupDlg::deleteWhere(const QString& sql)
{
    return m_exec.Open(sql);
}

bool CCleanupDlg::forEachRow(const QString& select, const std::function<bool(const QString&, const QString&)>& deletes)
{
    if (!m_walk.Open(select))
        return false;
    for (; !m_walk.IsEOF();) {
        QString tag, state;
        m_walk.GetFieldText(0, tag);
        if (m_walk.GetFieldCount() > 1)
            m_walk.GetFieldText(1, state);
        // A row without its ear tag has nothing of its own elsewhere to take along.
        if ((!tag.isEmpty() && !deletes(TextUtil::sqlQuote(tag), state)) || !m_walk.Delete())
            return false;
        m_walk.MoveNext();
    }
    m_walk.Close();
    return true;
}

bool CCleanupDlg::runStatements(int family, int index, const QString& day)
{
    const QString d = TextUtil::sqlEscape(day);
    auto matingsAndLitters = [this](const QString& tag) {
        return deleteWhere(QStringLiteral("delete from 配种 where 母猪耳号=") + tag) &&
               deleteWhere(QStringLiteral("delete from 产仔记录 where 母猪耳号=") + tag);
    };
    auto cards = [&] {
        return forEachRow(QStringLiteral("select 耳号 from 种猪卡 where 出生日期<'%1'").arg(d),
                          [&](const QString& tag, const QString&) { return matingsAndLitters(tag); });
    };
    auto matings = [&] { return deleteWhere(QStringLiteral("delete from 配种 where [配种日期(1)]<'%1A'").arg(d)); };
    auto litters = [&] { return deleteWhere(QStringLiteral("delete from 产仔记录 where 分娩日期<'%1'").arg(d)); };
    auto transfers = [&] { return deleteWhere(QStringLiteral("delete from 子猪管理 where 转群时间<'%1'").arg(d)); };
    auto breedingStockOut = [&](const QString& how) {
        return forEachRow(QStringLiteral("select 耳号,原状态 from 子猪管理 where (原状态='M' or 原状态='F') and 转出='%1' and 转出时间<'%2'").arg(how, d),
                          [&](const QString& tag, const QString& state) {
                              return deleteWhere(QStringLiteral("delete from 种猪卡 where 耳号=") + tag) &&
                                     (state != QLatin1String("F") || matingsAndLitters(tag));
                          });
    };
    if (family == 1) {
        switch (index) {
        case 0: return cards() && matings() && litters() && transfers();
        case 1: return cards();
        case 2: return matings();
        case 3: return litters();
        case 4: return transfers();
        }
        return false;
    }
    switch (index) {
    case 0: return deleteWhere(QStringLiteral("delete from 子猪管理 where 转群='肥育猪' and 转群时间<'%1'").arg(d));
    case 1: return deleteWhere(QStringLiteral("delete from 子猪管理 where 转群='后备猪' and 转群时间<'%1'").arg(d));
    case 2:
        return forEachRow(QStringLiteral("select 耳号,原状态 from 子猪管理 where (转群='死亡' and 转群时间<'%1') or (转出='死亡' and 转出时间<'%1')").arg(d),
                          [&](const QString& tag, const QString& state) {
                              if (state != QLatin1String("F") && state != QLatin1String("M"))
                                  return true;
                              return deleteWhere(QStringLiteral("delete from 种猪卡 where 耳号=") + tag) && matingsAndLitters(tag);
                          });
    case 3: return deleteWhere(QStringLiteral("delete from 子猪管理 where 转出='出售' and 转出时间<'%1'").arg(d));
    case 4: return breedingStockOut(QStringLiteral("出售"));
    case 5: return breedingStockOut(QStringLiteral("淘汰"));
    }
    return false;
}

void CCleanupDlg::run(QWidget* frame)
{
    CCleanupDlg dlg(frame);
    dlg.setUp();
    dlg.exec();
}
