#include "cgzaizhuview.h"

#include "dbrecordset.h"
#include "entryrules.h"
#include "entryscreen.h"
#include "sowcard.h"
#include "textutil.h"

using TextUtil::sqlQuote;

namespace {
const QString kNursery = QStringLiteral("保育");
const QString kDead = QStringLiteral("死亡");

CTransferScreen::Definition screenDefinition()
{
    CTransferScreen::Definition d;
    d.title = QStringLiteral("仔猪管理");
    d.closeCaption = QStringLiteral("仔猪转群");
    d.refreshCaption = QStringLiteral("仔猪转群");
    d.types = QStringList{QStringLiteral("未转群仔猪"), QStringLiteral("已转群仔猪"), QStringLiteral("死亡的仔猪")};
    d.firstDateCaption = QStringLiteral("分娩日期：自");
    d.headers = QStringList{QStringLiteral("序号"),   QStringLiteral("仔猪耳号"), QStringLiteral("母猪耳号"),
                            QStringLiteral("公猪耳号"), QStringLiteral("出生日期"), QStringLiteral("仔猪转群"),
                            QStringLiteral("转群日期"), QStringLiteral("实断奶重"), QStringLiteral("20日龄"),
                            QStringLiteral("28日龄"),  QStringLiteral("断奶日龄")};
    d.saveFailText = QStringLiteral("操作数据库:产仔纪录表 失败!");
    return d;
}
} // namespace

CGZaizhuView::CGZaizhuView(QWidget* parent)
    : CTransferScreen(kCommandId, screenDefinition(), parent)
{
}

void CGZaizhuView::configureGrid()
{
    grid()->AddComboColumn(ColDestination, {kNursery, kDead});
    grid()->ADDNumColumn(ColMoveDate);
}

bool CGZaizhuView::loadType(int type)
{
    const QString range = QStringLiteral(" 分娩日期 between ") + sqlQuote(fromText()) + QStringLiteral(" and ") + sqlQuote(toText());
    QString sql;
    if (type == 0) {
        sql = QStringLiteral("select 仔猪耳号,母猪耳号,公猪耳号,分娩日期 from 产仔记录 where (转群去向 = '' or 转群去向 is null) and")
              + range + QStringLiteral(" order by 分娩日期");
    } else {
        const QString fields = QStringLiteral("select 仔猪耳号,母猪耳号,公猪耳号,分娩日期,转群去向,转群日期,实断奶重,[20日龄校重],"
                                              "[28日龄校重],实断奶日 from 产仔记录 where ");
        // Type 1 lists the piglets that went anywhere but death; type 2 the dead ones,
        // a mummified piglet with the stillborn as born dead.
        sql = fields
              + (type == 1 ? QStringLiteral("转群去向 <> '' and 转群去向 is not null and 转群去向 <> '死亡' and")
                           : QStringLiteral("(转群去向 = '死亡' or 仔猪状态 in ('死亡','木乃伊')) and"))
              + range + QStringLiteral(" order by 仔猪耳号");
    }
    QVector<QStringList> rows;
    if (!query(sql, rows)) {
        loadFailed(QStringLiteral("打开数据库错误"));
        return false;
    }
    resetRows(rows.size());
    const int first = firstDataRow();
    for (int i = 0; i < rows.size(); ++i) {
        const int r = first + i;
        const QStringList& f = rows.at(i);
        for (int k = 0; k < f.size(); ++k)
            setText(r, ColTag + k, f.at(k));
        if (type == 0) {
            lockAllBut(r, {ColDestination});
            // A piglet past the usual suckling time is drawn in red.
            if (TextUtil::daysSince(f.at(3)) > 30)
                EntryScreen::colourRow(grid(), r, QColor(255, 0, 0));
        }
    }
    return true;
}

void CGZaizhuView::weigh(int row, int age)
{
    const QString weight = text(row, ColWeight);
    if (weight.isEmpty()) {
        setText(row, ColWeight20, QString());
        setText(row, ColWeight28, QString());
        return;
    }
    const EntryRules::CorrectedWeights w = EntryRules::correctedWeights(TextUtil::doublePrefix(weight), age);
    setText(row, ColWeight20, w.day20);
    setText(row, ColWeight28, w.day28);
}

void CGZaizhuView::endCellEdit(int row, int col, const QString& oldText)
{
    const QString v = text(row, col);
    switch (col) {
    case ColDestination:
        unlock(row, ColMoveDate);
        break;
    case ColMoveDate: {
        const QString birth = text(row, ColBirth);
        const int age = EntryRules::daysBetween(birth, v);
        if (!EntryRules::isDate(v) || TextUtil::intPrefix(v) < TextUtil::intPrefix(birth) || age < 0) {
            setText(row, col, oldText);
            return;
        }
        setText(row, ColAge, QString::number(age));
        unlock(row, ColWeight);
        weigh(row, age);
        break;
    }
    case ColWeight:
        weigh(row, EntryRules::daysBetween(text(row, ColBirth), text(row, ColMoveDate)));
        break;
    default:
        break;
    }
    setModified(true);
}

bool CGZaizhuView::writeSave(QString& error, QString& message)
{
    for (int r = firstDataRow(); r < grid()->GetRowCount(); ++r) {
        const QString tag = text(r, ColTag);
        const QString destination = text(r, ColDestination);
        const QString date = text(r, ColMoveDate);
        if (tag.isEmpty() || date.size() != 8 || (destination != kNursery && destination != kDead))
            continue;
        CDbRecordset rs(&connection());
        if (!rs.Open(QStringLiteral("select 仔猪耳号,转群去向,转群日期,实断奶重,[20日龄校重],[28日龄校重],实断奶日,母猪耳号,胎次 "
                                    "from 产仔记录 where 仔猪耳号 = ")
                     + sqlQuote(tag)))
            return failed(rs, error);
        if (rs.IsEOF())
            continue;
        QString sow, parity;
        rs.GetFieldText(7, sow);
        rs.GetFieldText(8, parity);
        for (int c = ColDestination; c <= ColAge; ++c)
            if (!rs.SetFieldText(c - ColDestination + 1, text(r, c)))
                return failed(rs, error);
        if (!rs.Update())
            return failed(rs, error);
        if (sow.isEmpty())
            continue;
        CDbRecordset mating(&connection());
        if (!mating.Open(QStringLiteral("select 母猪耳号,胎次,已产 from 配种 where 母猪耳号=") + sqlQuote(sow)
                         + QStringLiteral(" and 胎次=") + sqlQuote(parity)
                         + QStringLiteral(" order by [配种日期(1)] desc limit 1")))
            return failed(mating, error);
        if (mating.IsEOF()) {
            message = QStringLiteral("没有母猪") + sow + QStringLiteral("的第") + parity + QStringLiteral("胎的配种记录\n\n 保存记录失败");
            return false;
        }
        if (!mating.SetFieldText(2, QStringLiteral("yes")) || !mating.Update())
            return failed(mating, error);
        if (!weanLitter(sow, parity, date, error))
            return false;
    }
    return true;
}

// When no piglet of the litter is left with its dam, the sow is weaned on the latest
// transfer date of her live piglets (or this piglet's date when it is later).
bool CGZaizhuView::weanLitter(const QString& sow, const QString& parity, const QString& date, QString& error)
{
    const QString litter = QStringLiteral(" from 产仔记录 where 母猪耳号 = ") + sqlQuote(sow) + QStringLiteral(" and 胎次=") + sqlQuote(parity);
    CDbRecordset left(&connection());
    if (!left.Open(QStringLiteral("select 仔猪耳号") + litter + QStringLiteral(" and (转群去向='' or 转群去向 is null)")))
        return failed(left, error);
    if (!left.IsEOF())
        return true;
    CDbRecordset latest(&connection());
    if (!latest.Open(QStringLiteral("select max(转群日期)") + litter + QStringLiteral(" and 转群去向<>'死亡' and 转群去向 is not null")))
        return failed(latest, error);
    QString m;
    if (!latest.IsEOF())
        latest.GetFieldText(0, m);
    const QString w = TextUtil::intPrefix(date) > TextUtil::intPrefix(m) ? date : m;
    return SowCard::markWeaned(connection(), sow, w, nullptr, &error);
}

bool CGZaizhuView::writeDelete(int, const QString& tag, QString& error)
{
    return execute(QStringLiteral("delete from 产仔记录 where 仔猪耳号=") + sqlQuote(tag), error);
}
