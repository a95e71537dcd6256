#include "litterbook.h"

#include "dbconnection.h"
#include "dbrecordset.h"
#include "entryrules.h"
#include "sowcard.h"
#include "textutil.h"

#include <QSet>

using TextUtil::sqlQuote;

namespace {

const QString kDead = QStringLiteral("死亡");

// Stillborn and mummified piglets never nurse: they leave the litter at birth.
bool bornDead(const QString& state)
{
    return state.contains(kDead) || state.contains(QStringLiteral("木乃伊"));
}
const QString kFosteredOut = QStringLiteral("寄出");
const QString kFosteredIn = QStringLiteral("寄入");

QString fieldText(const CDbRecordset& rs, const QString& name)
{
    QString v;
    rs.GetFieldText(name, v);
    return v;
}

bool failed(const CDbRecordset& rs, QString& error)
{
    error = rs.LastError();
    return false;
}

} // namespace

LitterBook::Piglet::Piglet()
{
    for (int c = 0; c < ColumnCount; ++c)
        cells << QString();
}

const QStringList& LitterBook::pigletFields()
{
    static const QStringList f = {
        QStringLiteral("仔猪耳号"), QStringLiteral("仔猪状态"), QStringLiteral("性别"), QStringLiteral("奶头数左"),
        QStringLiteral("奶头数右"), QStringLiteral("毛色"), QStringLiteral("初生重"), QStringLiteral("转群去向"),
        QStringLiteral("转群日期"), QStringLiteral("实断奶重"), QStringLiteral("实断奶日"), QStringLiteral("20日龄校重"),
        QStringLiteral("28日龄校重"), QStringLiteral("带奶"), QStringLiteral("带奶母猪号"), QStringLiteral("备注")};
    return f;
}

LitterBook::LitterBook(CDbConnection& conn, WriteAccess access)
    : m_conn(conn)
    , m_access(std::move(access))
{
}


QStringList LitterBook::sows() const
{
    return EntryRules::pickList(m_conn, QStringLiteral("select DISTINCT 母猪耳号 from 配种"));
}

QStringList LitterBook::keepers() const
{
    return EntryRules::pickList(m_conn, QStringLiteral("select DISTINCT 姓名 from 饲养员表"));
}

QStringList LitterBook::pigletStates() const
{
    return EntryRules::pickList(m_conn, QStringLiteral("select DISTINCT 状态 from 仔猪状态表"));
}

QStringList LitterBook::colours() const
{
    return EntryRules::pickList(m_conn, QStringLiteral("select DISTINCT 毛色 from 毛色表"));
}

QStringList LitterBook::nursingSows() const
{
    return EntryRules::pickList(m_conn, QStringLiteral("select 母猪耳号 from 配种 where [id] in (select max(id) as ID2  from 配种 group by "
                                      "母猪耳号) and 已产='yes' order by [配种日期(1)] desc"));
}

QStringList LitterBook::parities(const QString& sow) const
{
    return EntryRules::pickList(m_conn, QStringLiteral("select DISTINCT 胎次 from 配种 where 母猪耳号=") + sqlQuote(sow)
                       + QStringLiteral(" and 返情否='N' and (异常时间 is null or 异常时间='')"));
}

QString LitterBook::noMatingText(const QString& sow, const QString& parity)
{
    return QStringLiteral("没有母猪") + sow + QStringLiteral("的第") + parity + QStringLiteral("胎配种信息");
}

LitterBook::LoadResult LitterBook::load(Panel& panel, QVector<Piglet>& rows) const
{
    rows.clear();
    const QString sow = sqlQuote(panel.sow);
    CDbRecordset rs(&m_conn);
    rs.Open(QStringLiteral("select * from 产仔记录 where 母猪耳号=") + sow + QStringLiteral(" and 胎次=")
            + sqlQuote(panel.parity));
    if (rs.IsOpen() && !rs.IsEOF()) {
        rs.MoveFirst();
        panel.boar = fieldText(rs, QStringLiteral("公猪耳号"));
        panel.method = fieldText(rs, QStringLiteral("配种方式"));
        panel.matingDay = fieldText(rs, QStringLiteral("配种日期"));
        panel.dueDate = fieldText(rs, QStringLiteral("预产日期"));
        panel.farrowDate = fieldText(rs, QStringLiteral("分娩日期"));
        panel.gestation = fieldText(rs, QStringLiteral("妊娠天数"));
        panel.keeper = fieldText(rs, QStringLiteral("饲养员"));
        panel.litterNumber = fieldText(rs, QStringLiteral("仔猪耳号")).mid(9, 4);
        panel.stored = true;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            Piglet p;
            for (int c = ColTag; c < ColumnCount; ++c)
                p.cells[c] = fieldText(rs, pigletFields().at(c - 1));
            p.storedTag = p.at(ColTag);
            p.ownFarrowDate = panel.farrowDate;
            rows << p;
        }
        // The piglets of other sows that this one nurses, farrowed within 15 days of hers.
        CDbRecordset in(&m_conn);
        in.Open(QStringLiteral("select * from 产仔记录 where 带奶母猪号=") + sow + QStringLiteral(" and (分娩日期 between ")
                + sqlQuote(EntryRules::addDays(panel.farrowDate, -15)) + QStringLiteral(" and ")
                + sqlQuote(EntryRules::addDays(panel.farrowDate, 15)) + QLatin1Char(')'));
        for (in.MoveFirst(); in.IsOpen() && !in.IsEOF(); in.MoveNext()) {
            Piglet p;
            for (int c = ColTag; c <= ColWeight28; ++c)
                p.cells[c] = fieldText(in, pigletFields().at(c - 1));
            p.cells[ColRemark] = fieldText(in, QStringLiteral("备注"));
            p.cells[ColFoster] = kFosteredIn;
            p.cells[ColNurse] = fieldText(in, QStringLiteral("母猪耳号"));
            p.fosteredIn = true;
            p.storedTag = p.at(ColTag);
            p.ownFarrowDate = fieldText(in, QStringLiteral("分娩日期"));
            rows << p;
        }
        return LoadResult::Stored;
    }
    panel.stored = false;
    panel.boar.clear();
    panel.method.clear();
    panel.matingDay.clear();
    panel.dueDate.clear();
    panel.farrowDate.clear();
    panel.litterNumber.clear();
    panel.gestation.clear();
    CDbRecordset mating(&m_conn);
    if (!mating.Open(QStringLiteral("select 公猪耳号,配种方式,[配种日期(1)],预产日期 from 配种 where 母猪耳号=") + sow
                     + QStringLiteral(" and 胎次=") + sqlQuote(panel.parity) + QStringLiteral(" order by [配种日期(1)] desc"))
        || mating.IsEOF())
        return LoadResult::NoMating;
    QString v;
    mating.GetFieldText(0, panel.boar);
    mating.GetFieldText(1, panel.method);
    mating.GetFieldText(2, v);
    panel.matingDay = v.left(8);
    mating.GetFieldText(3, panel.dueDate);
    panel.litterNumber = EntryRules::newLitterNumber(m_conn, panel.dueDate);
    return LoadResult::New;
}

LitterBook::FarrowDate LitterBook::farrowDateTyped(const QString& typed, const QString& matingDay)
{
    FarrowDate f;
    f.text = typed.left(8);
    if (f.text.size() == 8 && EntryRules::isDate(f.text)) {
        f.editable = true;
        f.gestation = QString::number(EntryRules::daysBetween(matingDay, f.text));
    }
    return f;
}

QString LitterBook::proposeTag(const Panel& panel, const QString& farmNumber, const QString& subFarmNumber,
                               const QStringList& above)
{
    QString tag = EntryRules::pigletTagPrefix(panel.boar, panel.sow, farmNumber, subFarmNumber, panel.farrowDate,
                                              panel.litterNumber);
    if (above.size() >= 3)
        tag += EntryRules::nextPigletNumber(above.at(0), above.at(1), above.at(2));
    return tag;
}

QString LitterBook::proposeOnBegin(int column, const Piglet& row, const Piglet* above)
{
    if (column == ColState)
        return QStringLiteral("正常");
    if (column == ColMoveDate && above && above->at(ColState) == row.at(ColState))
        return above->at(ColMoveDate);
    return QString();
}

const QStringList& LitterBook::headers()
{
    static const QStringList h = {
        QStringLiteral("序号"), QStringLiteral("耳号"), QStringLiteral("出生状态"), QStringLiteral("性别"),
        QStringLiteral("奶头数(左)"), QStringLiteral("奶头数(右)"), QStringLiteral("毛色"), QStringLiteral("初生重"),
        QStringLiteral("转群去向"), QStringLiteral("转群日期"), QStringLiteral("实断奶重"), QStringLiteral("断奶日龄"),
        QStringLiteral("20日龄校重"), QStringLiteral("28日龄校重"), QStringLiteral("带奶"), QStringLiteral("带奶母猪"),
        QStringLiteral("备注")};
    return h;
}

ValueRules::Check LitterBook::checkFarrowDate(const QString& farrowDate, const QString& matingDay)
{
    const ValueRules::Check date = ValueRules::eventDate(QStringLiteral("分娩日期"), farrowDate);
    return date.passes() ? ValueRules::gestation(matingDay, farrowDate) : date;
}

bool LitterBook::endEdit(Piglet& row, int column, const QString& oldText, const QString& farrowDate, QString* message)
{
    QStringList& c = row.cells;
    const QString text = c.at(column);
    if (column == ColTag) {
        // A stored piglet keeps its tag; a new row's invalid tag is emptied.
        if (!EntryRules::isEarTag(text)) {
            if (!text.isEmpty() && message)
                *message = ValueRules::earTagLengthText(QStringLiteral("仔猪耳号"));
            c[ColTag] = row.storedTag;
        }
        return c.at(ColTag) != oldText;
    }
    // Values that cannot be true go back to what the cell held; unusual weights are asked.
    if (text != oldText && !text.isEmpty()) {
        const QString name = headers().at(column);
        const QString born = row.fosteredIn ? row.ownFarrowDate : farrowDate;
        ValueRules::Check check;
        switch (column) {
        case ColTeatLeft:
        case ColTeatRight:
            check = ValueRules::wholeNumber(name, text, ValueRules::kTeatsMin, ValueRules::kTeatsMax);
            break;
        case ColBirthWeight:
            check = ValueRules::weight(name, text, ValueRules::kBirthWeightMin, ValueRules::kBirthWeightMax);
            break;
        case ColWeanWeight:
            check = ValueRules::weight(name, text, ValueRules::kWeaningWeightMin, ValueRules::kWeaningWeightMax);
            break;
        case ColWeanAge:
            check = ValueRules::wholeNumber(name, text, 0, 365);
            break;
        case ColMoveDate:
            check = ValueRules::eventDate(name, text);
            if (check.passes())
                check = ValueRules::notBefore(name, text, QStringLiteral("出生（分娩日期）"), born);
            break;
        default:
            break;
        }
        if (check.refuses() || (check.asks() && !ValueRules::confirm(check))) {
            if (check.refuses() && message)
                *message = check.message;
            c[column] = oldText;
            return false;
        }
    }
    // A fostered-in piglet's fostering cells belong to its own litter.
    if (row.fosteredIn && (column == ColFoster || column == ColNurse)) {
        c[column] = oldText;
        return false;
    }
    if (column == ColState) {
        if (bornDead(text)) {
            c[ColDestination] = kDead;
            c[ColMoveDate] = row.fosteredIn ? row.ownFarrowDate : farrowDate;
        }
        return text != oldText;
    }
    if (bornDead(c.at(ColState)) && column != ColMoveDate && column != ColRemark) {
        c[column].clear();
        return !oldText.isEmpty();
    }
    // A piglet that died has no weaning data; its remark (the cause) stays free.
    if (column > ColMoveDate && column != ColRemark && c.at(ColDestination).contains(kDead)) {
        c[column].clear();
        return !oldText.isEmpty();
    }
    auto weigh = [&c] {
        if (c.at(ColWeanWeight).isEmpty() || c.at(ColWeanAge).isEmpty()) {
            c[ColWeight20].clear();
            c[ColWeight28].clear();
            return;
        }
        const EntryRules::CorrectedWeights w = EntryRules::correctedWeights(TextUtil::doublePrefix(c.at(ColWeanWeight)),
                                                                          TextUtil::intPrefix(c.at(ColWeanAge)));
        c[ColWeight20] = w.day20;
        c[ColWeight28] = w.day28;
    };
    switch (column) {
    case ColMoveDate:
        if (!c.at(ColDestination).contains(kDead)) {
            // A fostered-in piglet's age counts from its own birth.
            const QString born = row.fosteredIn ? row.ownFarrowDate : farrowDate;
            c[ColWeanAge] = text.isEmpty() ? QString() : QString::number(EntryRules::daysBetween(born, text));
            weigh();
        }
        break;
    case ColWeanWeight:
        weigh();
        break;
    case ColFoster:
        if (text != kFosteredOut)
            c[ColNurse].clear();
        break;
    case ColNurse:
        if (!c.at(ColFoster).contains(kFosteredOut) || !EntryRules::isEarTag(text)) {
            c[column].clear();
            return !oldText.isEmpty();
        }
        break;
    default:
        break;
    }
    return c.at(column) != oldText;
}

QString LitterBook::weaningDate(const QVector<Piglet>& rows)
{
    QString w = QStringLiteral("0");
    for (const Piglet& p : rows) {
        if (!EntryRules::isEarTag(p.at(ColTag)))
            continue;
        const bool out = p.at(ColFoster) == kFosteredOut;
        if (p.at(ColMoveDate).isEmpty() && !bornDead(p.at(ColState)) && !out) {
            w = QStringLiteral("-1");
        } else if (w != QLatin1String("-1") && TextUtil::intPrefix(p.at(ColMoveDate)) > TextUtil::intPrefix(w) && !out) {
            w = p.at(ColMoveDate);
        }
    }
    return w;
}

bool LitterBook::save(Panel& panel, QVector<Piglet>& rows, QString* message, QString* caption)
{
    if (caption)
        *caption = QStringLiteral("错误");
    // A new litter's farrowing date must be a real, past day after its mating.
    if (!panel.stored) {
        const ValueRules::Check date = checkFarrowDate(panel.farrowDate, panel.matingDay);
        if (date.refuses()) {
            if (message)
                *message = date.message + QStringLiteral("\n\n 保存记录失败");
            return false;
        }
    }
    // A tag names one piglet: refuse two rows with one tag, or a tag of another litter.
    QSet<QString> seen;
    for (const Piglet& p : rows) {
        const QString tag = p.at(ColTag);
        if (!EntryRules::isEarTag(tag))
            continue;
        if (seen.contains(tag)) {
            if (message)
                *message = QStringLiteral("仔猪耳号%1重复\n\n 保存记录失败").arg(tag);
            return false;
        }
        seen.insert(tag);
        if (p.fosteredIn || tag == p.storedTag)
            continue;
        CDbRecordset rs(&m_conn);
        if (rs.Open(QStringLiteral("select 母猪耳号,胎次 from 产仔记录 where 仔猪耳号=") + sqlQuote(tag)) && !rs.IsEOF()) {
            QString s, n;
            rs.GetFieldText(0, s);
            rs.GetFieldText(1, n);
            if (message)
                *message = QStringLiteral("仔猪耳号%1已经属于母猪%2的第%3胎\n\n 保存记录失败").arg(tag, s, n);
            return false;
        }
    }

    bool noMating = false;
    QString error;
    const bool ok = EntryWrite::runEdit(m_conn, m_access, [&](QString& err) {
        for (const Piglet& p : rows) {
            const QString tag = p.at(ColTag);
            if (!EntryRules::isEarTag(tag))
                continue;
            CDbRecordset rs(&m_conn);
            const QString key = p.storedTag.isEmpty() ? tag : p.storedTag;
            if (!rs.Open(QStringLiteral("select * from 产仔记录 where 仔猪耳号=") + sqlQuote(key)))
                return failed(rs, err);
            const bool found = !rs.IsEOF();
            if (!found && !rs.AddNew())
                return failed(rs, err);
            bool set = rs.SetFieldText(QStringLiteral("仔猪耳号"), tag);
            for (int c = ColState; c <= ColWeight28; ++c)
                set = set && rs.SetFieldText(pigletFields().at(c - 1), p.at(c));
            if (!p.fosteredIn) {
                set = set && rs.SetFieldText(QStringLiteral("带奶"), p.at(ColFoster))
                      && rs.SetFieldText(QStringLiteral("带奶母猪号"), p.at(ColNurse))
                      && rs.SetFieldText(QStringLiteral("饲养员"), panel.keeper);
            }
            set = set && rs.SetFieldText(QStringLiteral("备注"), p.at(ColRemark));
            if (!found) {
                const QStringList names = {QStringLiteral("母猪耳号"), QStringLiteral("母猪品种"), QStringLiteral("胎次"),
                                           QStringLiteral("公猪耳号"), QStringLiteral("公猪品种"), QStringLiteral("配种方式"),
                                           QStringLiteral("配种日期"), QStringLiteral("预产日期"), QStringLiteral("分娩日期"),
                                           QStringLiteral("妊娠天数")};
                const QStringList values = {panel.sow, EntryRules::breedCode(panel.sow), panel.parity, panel.boar,
                                            EntryRules::breedCode(panel.boar), panel.method, panel.matingDay,
                                            panel.dueDate, panel.farrowDate, panel.gestation};
                for (int i = 0; i < names.size(); ++i)
                    set = set && rs.SetFieldText(names.at(i), values.at(i));
            }
            if (!set || !rs.Update())
                return failed(rs, err);
        }
        CDbRecordset mating(&m_conn);
        if (!mating.Open(QStringLiteral("select 母猪耳号,胎次,已产 from 配种 where 母猪耳号=") + sqlQuote(panel.sow)
                         + QStringLiteral(" and 胎次=") + sqlQuote(panel.parity) + QStringLiteral(" and [配种日期(1)] like ")
                         + sqlQuote(panel.matingDay + QLatin1Char('%')) + QStringLiteral(" order by [配种日期(1)] desc limit 1")))
            return failed(mating, err);
        if (mating.IsEOF()) {
            noMating = true;
            return false;
        }
        if (!mating.SetFieldText(2, QStringLiteral("yes")) || !mating.Update())
            return failed(mating, err);
        const QString w = weaningDate(rows);
        if (w != QLatin1String("0") && w != QLatin1String("-1"))
            return SowCard::markWeaned(m_conn, panel.sow, w, nullptr, &err);
        return true;
    }, &error);
    if (!ok) {
        if (message)
            *message = noMating ? QStringLiteral("没有母猪") + panel.sow + QStringLiteral("的第") + panel.parity
                                      + QStringLiteral("胎的配种记录\n\n 保存记录失败")
                                : error;
        return false;
    }
    for (Piglet& p : rows)
        if (EntryRules::isEarTag(p.at(ColTag)))
            p.storedTag = p.at(ColTag);
    panel.stored = true;
    return true;
}

bool LitterBook::deletePiglet(const Piglet& row, QString* message, QString* caption)
{
    if (row.fosteredIn) {
        if (message)
            *message = QStringLiteral("仔猪%1是母猪%2的仔猪，请在其母猪的产仔记录中删除").arg(row.at(ColTag), row.at(ColNurse));
        if (caption)
            *caption = QStringLiteral("警告");
        return false;
    }
    if (caption)
        *caption = QStringLiteral("错误");
    if (row.storedTag.isEmpty())
        return true; // never saved: only the grid row goes
    const QString key = row.storedTag;
    return EntryWrite::runEdit(m_conn, m_access, [&](QString& err) {
        CDbRecordset rs(&m_conn);
        if (!rs.Open(QStringLiteral("select 仔猪耳号 from 产仔记录 where 仔猪耳号=") + sqlQuote(key)))
            return failed(rs, err);
        if (!rs.IsEOF() && !rs.Delete())
            return failed(rs, err);
        return true;
    }, message);
}
