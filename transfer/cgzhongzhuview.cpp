#include "cgzhongzhuview.h"

#include "dbrecordset.h"
#include "entryrules.h"
#include "textutil.h"

using TextUtil::sqlQuote;

namespace {
const QString kSold = QStringLiteral("出售");
const QStringList kOuts = {kSold, QStringLiteral("淘汰"), QStringLiteral("死亡"), QStringLiteral("其他")};

CTransferScreen::Definition screenDefinition()
{
    CTransferScreen::Definition d;
    d.title = QStringLiteral("种猪管理");
    d.closeCaption = QStringLiteral("种猪管理");
    d.refreshCaption = QStringLiteral("种猪转群");
    d.types = QStringList{QStringLiteral("猪场现有种猪"), QStringLiteral("已出售种猪"), QStringLiteral("已淘汰种猪"),
                          QStringLiteral("已死亡种猪"), QStringLiteral("其他")};
    d.firstDateCaption = QStringLiteral("入场日期：自");
    d.otherDateCaption = QStringLiteral("转群日期：自");
    d.headers = QStringList{QStringLiteral("序号"),   QStringLiteral("耳号"),   QStringLiteral("转出"),
                            QStringLiteral("转群日期"), QStringLiteral("去向"),   QStringLiteral("单价"),
                            QStringLiteral("重量"),   QStringLiteral("性别"),   QStringLiteral("出生日期"),
                            QStringLiteral("入场日期"), QStringLiteral("出生重"), QStringLiteral("断奶重"),
                            QStringLiteral("断奶日龄"), QStringLiteral("毛色"),   QStringLiteral("奶头数"),
                            QStringLiteral("来源")};
    d.fixedRows = 2;
    d.findPrompt = QStringLiteral("输入您要查找的种猪耳号:");
    d.saveFailText = QStringLiteral("操作数据库 失败!");
    return d;
}

// The card fields of columns 7-15 (the teats as "左-右").
const char* const kCardFields = "k.性别,k.出生日期,k.来源时间,k.出生重,k.断奶重,k.断奶日龄,k.毛色,k.[奶头数(左)],k.[奶头数(右)],k.来源";
} // namespace

CGZhongZhuView::CGZhongZhuView(QWidget* parent)
    : CTransferScreen(kCommandId, screenDefinition(), parent)
{
}

void CGZhongZhuView::configureGrid()
{
    grid()->AddComboColumn(ColOut, kOuts);
    grid()->ADDNumColumn(ColOutDate);
    grid()->AddComboColumn(ColPlace, EntryRules::pickList(connection(), QStringLiteral("select 地点 from 出售地点")));
}

bool CGZhongZhuView::loadType(int type)
{
    const QString range = sqlQuote(fromText()) + QStringLiteral(" and ") + sqlQuote(toText());
    QString sql;
    int first; // grid column of the statement's first field
    if (type == 0) {
        // A card without the flag is on the farm too.
        sql = QStringLiteral("select k.耳号,") + QString::fromUtf8(kCardFields)
              + QStringLiteral(" from 种猪卡 k where (k.不存在 <> 'yes' or k.不存在 is null) and (k.来源时间 between ") + range
              + QStringLiteral(") order by k.出生日期");
        first = ColSex - 1;
    } else {
        sql = QStringLiteral("select z.耳号,z.转出,z.转出时间,z.去向,z.单价,z.重量,") + QString::fromUtf8(kCardFields)
              + QStringLiteral(" from 子猪管理 z left join 种猪卡 k on k.耳号 = z.耳号 where z.转出 = ") + sqlQuote(kOuts.at(type - 1))
              + QStringLiteral(" and z.转群='种猪' and z.转出时间 between ") + range + QStringLiteral(" order by z.转出时间");
        first = ColTag;
    }
    QVector<QStringList> rows;
    if (!query(sql, rows)) {
        loadFailed(QStringLiteral("操作数据库:库表 失败!"));
        return false;
    }
    resetRows(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const int r = firstDataRow() + i;
        const QStringList& f = rows.at(i);
        setText(r, ColTag, f.at(0));
        const int card = f.size() - 10; // index of 性别
        for (int k = 1; k < card; ++k)
            setText(r, first + k, f.at(k));
        for (int c = ColSex; c <= ColColour; ++c)
            setText(r, c, f.at(card + c - ColSex));
        setText(r, ColTeats, f.at(card + 7) + QLatin1Char('-') + f.at(card + 8));
        setText(r, ColSource, f.at(card + 9));
        if (type == 0)
            lockAllBut(r, {ColOut});
    }
    return true;
}

void CGZhongZhuView::beginCellEdit(int row, int col)
{
    if (col == ColOutDate && text(row, col).isEmpty())
        setText(row, col, TextUtil::todayText());
}

void CGZhongZhuView::endCellEdit(int row, int col, const QString& oldText)
{
    switch (col) {
    case ColOut:
        unlock(row, ColOutDate);
        if (text(row, col) != kSold) {
            for (int c : {ColPlace, ColPrice, ColWeight}) {
                setText(row, c, QString());
                lock(row, c);
            }
        }
        break;
    case ColOutDate: {
        // The pig leaves on or after the day it came to the farm.
        const QString v = text(row, col);
        if (!EntryRules::isDate(v) || TextUtil::intPrefix(v) < TextUtil::intPrefix(text(row, ColEntry))) {
            setText(row, col, oldText);
            return;
        }
        if (text(row, ColOut) == kSold)
            for (int c : {ColPlace, ColPrice, ColWeight})
                unlock(row, c);
        break;
    }
    default:
        break;
    }
    setModified(true);
}

bool CGZhongZhuView::writeSave(QString& error, QString&)
{
    for (int r = firstDataRow(); r < grid()->GetRowCount(); ++r) {
        const QString tag = text(r, ColTag);
        if (tag.isEmpty() || text(r, ColOut).isEmpty() || text(r, ColOutDate).isEmpty())
            continue;
        CDbRecordset card(&connection());
        if (!card.Open(QStringLiteral("select 耳号,不存在 from 种猪卡 where 耳号=") + sqlQuote(tag)))
            return failed(card, error);
        if (card.IsEOF())
            continue;
        if (!card.SetFieldText(1, QStringLiteral("yes")) || !card.Update())
            return failed(card, error);
        // Saved again from the same list, the pig's disposal row is refreshed, not doubled.
        CDbRecordset rs(&connection());
        if (!rs.Open(QStringLiteral("select * from 子猪管理 where 耳号=") + sqlQuote(tag) + QStringLiteral(" and 转群='种猪'")))
            return failed(rs, error);
        if (rs.IsEOF() && !rs.AddNew())
            return failed(rs, error);
        const QStringList names = {QStringLiteral("耳号"), QStringLiteral("原状态"), QStringLiteral("转群"), QStringLiteral("转出"),
                                   QStringLiteral("转出时间"), QStringLiteral("去向"), QStringLiteral("单价"), QStringLiteral("重量")};
        const QStringList values = {tag, text(r, ColSex), QStringLiteral("种猪"), text(r, ColOut), text(r, ColOutDate),
                                    text(r, ColPlace), text(r, ColPrice), text(r, ColWeight)};
        for (int i = 0; i < names.size(); ++i)
            if (!rs.SetFieldText(names.at(i), values.at(i)))
                return failed(rs, error);
        if (!rs.Update())
            return failed(rs, error);
    }
    return true;
}

// Undoing a disposal brings the pig back into the herd: its card is on the farm again.
// Only the disposal row goes; the pig's earlier group rows stay.
bool CGZhongZhuView::writeDelete(int, const QString& tag, QString& error)
{
    if (!execute(QStringLiteral("Delete from 子猪管理 where 耳号=") + sqlQuote(tag) + QStringLiteral(" and 转群='种猪'"), error))
        return false;
    CDbRecordset card(&connection());
    if (!card.Open(QStringLiteral("select 耳号,不存在 from 种猪卡 where 耳号=") + sqlQuote(tag)))
        return failed(card, error);
    if (!card.IsEOF() && !card.SetFieldText(1, QStringLiteral("no")))
        return failed(card, error);
    return card.IsEOF() || card.Update() || failed(card, error);
}
