#include "cgbaoyuview.h"

#include "dbrecordset.h"
#include "entryrules.h"
#include "entryscreen.h"
#include "textutil.h"

using TextUtil::sqlQuote;

namespace {
const QString kNursery = QStringLiteral("保育");

CTransferScreen::Definition screenDefinition()
{
    CTransferScreen::Definition d;
    d.title = QStringLiteral("保育猪管理");
    d.closeCaption = QStringLiteral("保育猪管理");
    d.refreshCaption = QStringLiteral("保育猪转群");
    d.types = QStringList{QStringLiteral("未转群保育猪"), QStringLiteral("已转为后备猪"), QStringLiteral("已转为肥育猪"),
                          QStringLiteral("死亡的保育猪")};
    d.firstDateCaption = QStringLiteral("出生日期：自");
    d.otherDateCaption = QStringLiteral("转群日期：自");
    d.headers = QStringList{QStringLiteral("序号"),   QStringLiteral("仔猪耳号"), QStringLiteral("转群去向"),
                            QStringLiteral("转群日期"), QStringLiteral("出生日期"), QStringLiteral("初生重"),
                            QStringLiteral("20日龄"),  QStringLiteral("28日龄"),  QStringLiteral("仔猪状态"),
                            QStringLiteral("母猪耳号"), QStringLiteral("公猪耳号")};
    return d;
}
} // namespace

CGBaoYuView::CGBaoYuView(QWidget* parent)
    : CTransferScreen(kCommandId, screenDefinition(), parent)
{
}

void CGBaoYuView::configureGrid()
{
    grid()->AddComboColumn(ColGroup, EntryRules::pickList(connection(), QStringLiteral("select 库名称 from 库表")));
    grid()->ADDNumColumn(ColMoveDate);
}

bool CGBaoYuView::loadType(int type)
{
    const QString from = sqlQuote(fromText());
    const QString to = sqlQuote(toText());
    QVector<QStringList> rows;
    bool ok;
    if (type == 0) {
        // "Not in the pigs' table", asked per piglet through the tag index rather than by
        // listing every tag the table holds.
        ok = query(QStringLiteral("select 仔猪耳号,分娩日期,初生重,[20日龄校重],[28日龄校重],仔猪状态,母猪耳号,公猪耳号 from 产仔记录 c "
                                  "where 转群去向 = '保育' and 分娩日期 between ")
                       + from + QStringLiteral(" and ") + to
                       + QStringLiteral(" and not exists (select 1 from 子猪管理 z where z.耳号 = c.仔猪耳号) order by 分娩日期"),
                   rows);
    } else {
        static const char* const groups[] = {"", "后备猪", "肥育猪", "死亡"};
        // A saved transfer stores an empty 转出 as NULL: both mean "not moved on yet".
        ok = query(QStringLiteral("select z.耳号,z.转群,z.转群时间,c.分娩日期,c.初生重,c.[20日龄校重],c.[28日龄校重],c.仔猪状态,"
                                  "c.母猪耳号,c.公猪耳号 from 子猪管理 z left join 产仔记录 c on c.仔猪耳号 = z.耳号 "
                                  "where z.转群 = ")
                       + sqlQuote(QString::fromUtf8(groups[type]))
                       + QStringLiteral(" and (z.转出 = '' or z.转出 is null) and z.原状态 = '保育' and z.转群时间 between ") + from
                       + QStringLiteral(" and ") + to + QStringLiteral(" order by z.转群时间"),
                   rows);
    }
    if (!ok) {
        loadFailed(QStringLiteral("操作数据库:库表 失败!"));
        return false;
    }
    resetRows(rows.size());
    static const int type0Columns[] = {ColTag, ColBirth, ColBirthWeight, ColWeight20, ColWeight28, ColState, ColSow, ColBoar};
    for (int i = 0; i < rows.size(); ++i) {
        const int r = firstDataRow() + i;
        const QStringList& f = rows.at(i);
        if (type == 0) {
            for (int k = 0; k < f.size(); ++k)
                setText(r, type0Columns[k], f.at(k));
            lockAllBut(r, {ColGroup});
            // Long in the nursery: red.
            if (TextUtil::daysSince(f.at(1)) > 100)
                EntryScreen::colourRow(grid(), r, QColor(255, 0, 0));
        } else {
            for (int k = 0; k < f.size(); ++k)
                setText(r, ColTag + k, f.at(k));
        }
    }
    return true;
}

void CGBaoYuView::endCellEdit(int row, int col, const QString& oldText)
{
    if (col == ColGroup) {
        unlock(row, ColMoveDate);
        setModified(true);
        return;
    }
    const QString v = text(row, col);
    if (!EntryRules::isDate(v) || TextUtil::intPrefix(v) < TextUtil::intPrefix(text(row, ColBirth))) {
        setText(row, ColMoveDate, oldText);
        return;
    }
    setModified(true);
}

bool CGBaoYuView::writeSave(QString& error, QString&)
{
    for (int r = firstDataRow(); r < grid()->GetRowCount(); ++r) {
        const QString tag = text(r, ColTag);
        const QString group = text(r, ColGroup);
        const QString date = text(r, ColMoveDate);
        if (tag.isEmpty() || group.isEmpty() || date.isEmpty())
            continue;
        // A pig saved before in this window gets its row refreshed, not a second one.
        CDbRecordset rs(&connection());
        if (!rs.Open(QStringLiteral("select * from 子猪管理 where 耳号=") + sqlQuote(tag) + QStringLiteral(" and 原状态='保育'")))
            return failed(rs, error);
        const bool added = rs.IsEOF();
        if (added && !rs.AddNew())
            return failed(rs, error);
        bool set = rs.SetFieldText(QStringLiteral("耳号"), tag) && rs.SetFieldText(QStringLiteral("原状态"), kNursery)
                   && rs.SetFieldText(QStringLiteral("转群"), group) && rs.SetFieldText(QStringLiteral("转群时间"), date);
        if (added)
            set = set && rs.SetFieldText(QStringLiteral("转出"), QString())
                  && rs.SetFieldText(QStringLiteral("转出时间"), QString()) && rs.SetFieldText(QStringLiteral("去向"), QString());
        if (!set || !rs.Update())
            return failed(rs, error);
    }
    return true;
}

// Only the nursery's own transfer goes: the pig's later rows (a disposal as breeding
// stock) are not this screen's to delete.
bool CGBaoYuView::writeDelete(int, const QString& tag, QString& error)
{
    return execute(QStringLiteral("Delete from 子猪管理 where 耳号=") + sqlQuote(tag) + QStringLiteral(" and 原状态='保育'"), error);
}
