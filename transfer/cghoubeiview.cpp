#include "cghoubeiview.h"

#include "dbrecordset.h"
#include "entryrules.h"
#include "keptgilt.h"
#include "textutil.h"

using TextUtil::sqlQuote;

namespace {
const QString kKept = QStringLiteral("自留");
const QString kSold = QStringLiteral("出售");
const QString kDead = QStringLiteral("死亡");

// The group's name is the last part of every caption ("后备猪", "肥育猪").
CTransferScreen::Definition screenDefinition(const QString& group)
{
    CTransferScreen::Definition d;
    d.title = group + QStringLiteral("管理");
    d.closeCaption = d.title;
    d.refreshCaption = QStringLiteral("后备猪转群");
    d.types = QStringList{QStringLiteral("未转群") + group, QStringLiteral("自留的") + group, QStringLiteral("出售的") + group,
                          QStringLiteral("死亡的") + group};
    d.firstDateCaption = QStringLiteral("转入日期：自");
    d.otherDateCaption = QStringLiteral("转出日期：自");
    d.headers = QStringList{QStringLiteral("序号"),   QStringLiteral("耳号"), QStringLiteral("转入日期"), QStringLiteral("转出"),
                            QStringLiteral("转出时间"), QStringLiteral("去向"), QStringLiteral("单价"),     QStringLiteral("重量")};
    d.addRows = 1;
    return d;
}
} // namespace

CGroupPigView::CGroupPigView(int commandId, const QString& group, bool keptGetCard, QWidget* parent)
    : CTransferScreen(commandId, screenDefinition(group), parent)
    , m_group(group)
    , m_keptGetCard(keptGetCard)
{
}

CGHouBeiView::CGHouBeiView(QWidget* parent)
    : CGroupPigView(kCommandId, QStringLiteral("后备猪"), true, parent)
{
}

CGFeiYuView::CGFeiYuView(QWidget* parent)
    : CGroupPigView(kCommandId, QStringLiteral("肥育猪"), false, parent)
{
}

void CGroupPigView::configureGrid()
{
    grid()->AddComboColumn(ColOut, EntryRules::pickList(connection(), QStringLiteral("select 状态 from 去向表")));
    grid()->ADDNumColumn(ColOutDate);
    grid()->AddComboColumn(ColPlace, EntryRules::pickList(connection(), QStringLiteral("select 地点 from 出售地点")));
}

bool CGroupPigView::loadType(int type)
{
    const QString range = sqlQuote(fromText()) + QStringLiteral(" and ") + sqlQuote(toText());
    const QString group = QStringLiteral("转群=") + sqlQuote(m_group);
    QString sql;
    if (type == 0) {
        sql = QStringLiteral("select 耳号,转群时间 from 子猪管理 where ") + group
              + QStringLiteral(" and (转出='' or 转出 is null) and 转群时间 between ") + range + QStringLiteral(" order by 转群时间");
    } else {
        const QString out = type == 1 ? kKept : type == 2 ? kSold : kDead;
        sql = QStringLiteral("select 耳号,转群时间,转出,转出时间,去向,单价,重量 from 子猪管理 where ") + group
              + QStringLiteral(" and 转出=") + sqlQuote(out) + QStringLiteral(" and 转出时间 between ") + range
              + QStringLiteral(" order by 转出时间");
    }
    QVector<QStringList> rows;
    if (!query(sql, rows)) {
        loadFailed(QStringLiteral("打开数据库错误"));
        return false;
    }
    resetRows(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const int r = firstDataRow() + i;
        for (int k = 0; k < rows.at(i).size(); ++k)
            setText(r, ColTag + k, rows.at(i).at(k));
        if (type == 0)
            lockAllBut(r, {ColOut});
    }
    return true;
}

// Once the date is in: a sale is followed by place, price and weight; any other way
// out takes none ("本场" as the place of a pig kept on the farm).
void CGroupPigView::applyPlaceRule(int row)
{
    if (text(row, ColOut) == kSold) {
        unlock(row, ColPlace);
        return;
    }
    setText(row, ColPlace, text(row, ColOut) == kKept ? QStringLiteral("本场") : QString());
    for (int c : {ColPrice, ColWeight})
        setText(row, c, QString());
    for (int c : {ColPlace, ColPrice, ColWeight})
        lock(row, c);
}

void CGroupPigView::endCellEdit(int row, int col, const QString& oldText)
{
    if (col == ColOutDate) {
        const QString v = text(row, col);
        if (!EntryRules::isDate(v) || TextUtil::intPrefix(v) < TextUtil::intPrefix(text(row, ColMovedIn))) {
            setText(row, col, oldText);
            return;
        }
        applyPlaceRule(row);
        setModified(true);
        return;
    }
    if (col + 1 < ColumnCount)
        unlock(row, col + 1);
    // A changed way out with the date already in follows the same rule as the date.
    if (col == ColOut && !text(row, ColOutDate).isEmpty())
        applyPlaceRule(row);
    setModified(true);
}

bool CGroupPigView::writeSave(QString& error, QString&)
{
    for (int r = firstDataRow(); r < grid()->GetRowCount(); ++r) {
        const QString tag = text(r, ColTag);
        const QString out = text(r, ColOut);
        const QString date = text(r, ColOutDate);
        if (tag.isEmpty() || out.isEmpty() || date.size() != 8)
            continue;
        CDbRecordset rs(&connection());
        if (!rs.Open(QStringLiteral("select 耳号,转出,转出时间,去向,单价,重量 from 子猪管理 where 耳号=") + sqlQuote(tag)
                     + QStringLiteral(" and 转群=") + sqlQuote(m_group)))
            return failed(rs, error);
        if (!rs.IsEOF()) {
            for (int c = ColOut; c <= ColWeight; ++c)
                if (!rs.SetFieldText(c - ColOut + 1, text(r, c)))
                    return failed(rs, error);
            if (!rs.Update())
                return failed(rs, error);
        }
        if (m_keptGetCard && out == kKept) {
            QString e;
            if (!KeptGilt::makeCard(connection(), tag, date, &e)) {
                error = e;
                return false;
            }
        }
    }
    return true;
}
