#include "matingbook.h"
#include "herdschema.h"

#include "appclock.h"
#include "dbconnection.h"
#include "dbrecordset.h"
#include "entryrules.h"
#include "sowcard.h"
#include "textutil.h"

using TextUtil::sqlQuote;

namespace {

const QString kSelect = QStringLiteral(
    "select 母猪耳号,母猪品种,公猪耳号,公猪品种,[配种日期(1)],[配种日期(2)],胎次,配种方式,返情否,预产日期,配种员,异常,"
    "异常时间,备注,已产,检查时间,id from 配种");

QString fieldText(const CDbRecordset& rs, int i)
{
    QString v;
    rs.GetFieldText(i, v);
    return v;
}

// Reads the current record of a recordset opened with kSelect.
MatingBook::Row rowOf(const CDbRecordset& rs)
{
    MatingBook::Row r;
    for (int i = 0; i < 14; ++i)
        r.cells << fieldText(rs, i);
    r.farrowed = fieldText(rs, 14);
    r.checked = fieldText(rs, 15);
    r.id = fieldText(rs, 16).toLongLong();
    return r;
}

bool failed(const CDbRecordset& rs, QString& error)
{
    error = rs.LastError();
    return false;
}

} // namespace

const QStringList& MatingBook::fields()
{
    // The mating's columns from 母猪耳号 to 备注, in the table's own order.
    static const QStringList f = HerdSchema::table(QStringLiteral("配种"))->columns.mid(1, 14);
    return f;
}

MatingBook::MatingBook(CDbConnection& conn, WriteAccess access)
    : m_conn(conn)
    , m_access(std::move(access))
{
}

bool MatingBook::load(QVector<Row>& rows) const
{
    rows.clear();
    CDbRecordset rs(&m_conn);
    if (!rs.Open(kSelect + QStringLiteral(" where [id] in (select max(id) as ID2  from 配种 group by 母猪耳号) "
                                          "order by [配种日期(1)]")))
        return false;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        rows << rowOf(rs);
    return true;
}

bool MatingBook::readRow(qint64 id, Row& row) const
{
    CDbRecordset rs(&m_conn);
    if (id <= 0 || !rs.Open(kSelect + QStringLiteral(" where id=%1").arg(id)) || rs.IsEOF())
        return false;
    row = rowOf(rs);
    return true;
}

MatingBook::Colour MatingBook::colourOf(const QString& returned, const QString& abnormalDate)
{
    if (!abnormalDate.isEmpty())
        return Colour::Red;
    if (returned == QLatin1String("Y"))
        return Colour::Blue;
    return Colour::Default;
}

EditOutcome MatingBook::editSow(qint64 id, const QString& oldTag, const QString& newTag)
{
    // Leaving the cell as it was is no edit, even on an empty row.
    if (newTag == oldTag)
        return EditOutcome::unchanged();
    if (!EntryRules::isEarTag(newTag))
        return EditOutcome::refused(ValueRules::earTagLengthText());
    EditOutcome out = EditOutcome::accepted();
    // Only a female card still in the herd is mated; one still carrying a litter is
    // mated again only when the user says so.
    if (!EditOutcome::vet(SowCard::mayBeMated(m_conn, newTag), out)
        || !EditOutcome::vet(SowCard::pregnancyBeforeMating(m_conn, newTag, id), out))
        return out;
    const QString breed = EntryRules::breedCode(newTag);
    QString message;
    bool ok;
    if (id <= 0) {
        // A new mating: today's two services and the expected farrowing date.
        const int parity = EntryRules::nextParityFor(m_conn, newTag);
        const QString day = TextUtil::todayText();
        const QString due = EntryRules::expectedFarrowingDate(m_conn, breed, day);
        ok = EntryWrite::runEdit(m_conn, m_access, [&](QString& error) {
            CDbRecordset rs(&m_conn);
            if (!rs.Open(kSelect + QStringLiteral(" where 1=0")) || !rs.AddNew())
                return failed(rs, error);
            const QStringList values = {newTag, breed, QString(), QString(), day + QLatin1Char('A'),
                                        day + QLatin1Char('P'), QString::number(parity), QString(),
                                        QStringLiteral("N"), due, QString(), QString(), QString(), QString(),
                                        QStringLiteral("no"), QStringLiteral("no")};
            for (int i = 0; i < values.size(); ++i)
                if (!values.at(i).isEmpty() && !rs.SetFieldText(i, values.at(i)))
                    return failed(rs, error);
            if (!rs.Update())
                return failed(rs, error);
            out.newId = fieldText(rs, 16).toLongLong();
            // The proposed expected date makes her pregnant on her card, as a typed one does.
            return SowCard::markPregnant(m_conn, newTag, due, &error);
        }, &message);
        out.cells = {{ColSowBreed, breed}, {ColFirst, day + QLatin1Char('A')}, {ColSecond, day + QLatin1Char('P')},
                     {ColParity, QString::number(parity)}, {ColReturned, QStringLiteral("N")}, {ColDue, due}};
    } else {
        // The row moves to another sow: it takes her next parity, from her own matings.
        const int parity = EntryRules::nextParityFor(m_conn, newTag, id);
        ok = EntryWrite::runEdit(m_conn, m_access, [&](QString& error) {
            CDbRecordset rs(&m_conn);
            if (!rs.Open(kSelect + QStringLiteral(" where id=%1").arg(id)) || rs.IsEOF())
                return failed(rs, error);
            if (!rs.SetFieldText(0, newTag) || !rs.SetFieldText(1, breed) || !rs.SetFieldText(6, QString::number(parity))
                || !rs.Update())
                return failed(rs, error);
            return true;
        }, &message);
        out.cells = {{ColSowBreed, breed}, {ColParity, QString::number(parity)}};
    }
    if (!ok)
        return EditOutcome::notStored(message);
    return out;
}

EditOutcome MatingBook::editField(qint64 id, int column, const QString& sow, const QString& oldText,
                                  const QString& newText)
{
    if (column <= ColSow || column > ColRemark)
        return EditOutcome::unchanged();
    const QString time9 = QString::fromUtf8(EntryRules::kMatingTime9);
    const QString date8 = QString::fromUtf8(EntryRules::kMatingDate8);
    // A date of the right length that is not a real day says so, with its field.
    auto dateCheck = [&](const QString& field, const QString& text, bool allowEmpty) {
        if (allowEmpty && text.isEmpty())
            return ValueRules::Check::pass();
        if (text.size() != 8)
            return ValueRules::Check::refuse(date8);
        return ValueRules::calendarDate(field, text);
    };
    if (column == ColFirst) {
        if (!EntryRules::isMatingTime(newText))
            return EditOutcome::refused(time9);
        if (sow.isEmpty() || id <= 0)
            return EditOutcome::refused(QStringLiteral("请先填入母猪耳号"));
        if (newText == oldText)
            return EditOutcome::unchanged();
        const ValueRules::Check future = ValueRules::eventDate(QStringLiteral("配种日期"), EntryRules::matingDay(newText));
        if (!future.passes())
            return EditOutcome::refused(future.message);
    } else {
        if (newText == oldText)
            return EditOutcome::unchanged();
        // The second service and the abnormality date may be withdrawn; a present value
        // must be a real time or date.
        if (column == ColSecond && !newText.isEmpty() && !EntryRules::isMatingTime(newText))
            return EditOutcome::refused(time9);
        ValueRules::Check check;
        switch (column) {
        case ColSecond:
            if (!newText.isEmpty())
                check = ValueRules::eventDate(QStringLiteral("第二次配种日期"), EntryRules::matingDay(newText));
            break;
        case ColDue:
            check = dateCheck(QStringLiteral("预产日期"), newText, false);
            break;
        case ColAbnormalDate:
            check = dateCheck(QStringLiteral("发生时间"), newText, true);
            if (check.passes())
                check = ValueRules::eventDate(QStringLiteral("发生时间"), newText, true);
            break;
        case ColBoar:
            if (!EntryRules::isEarTag(newText))
                check = ValueRules::Check::refuse(ValueRules::earTagLengthText(QStringLiteral("公猪耳号")));
            break;
        case ColParity:
            check = ValueRules::wholeNumber(QStringLiteral("胎次"), newText, ValueRules::kParityMin,
                                            ValueRules::kParityMax, false);
            break;
        default:
            break;
        }
        if (check.refuses())
            return EditOutcome::refused(check.message);
        if (sow.isEmpty() || id <= 0)
            return EditOutcome::cleared(QStringLiteral("请先填入母猪耳号"));
    }

    Row row;
    if (!readRow(id, row))
        return EditOutcome::notStored(EntryWrite::refusedText(QStringLiteral("配种记录不存在")));
    const QString breed = EntryRules::breedCode(sow);
    const bool open = row.farrowed != QLatin1String("yes");
    EditOutcome out = EditOutcome::accepted();
    // An abnormality happens after the mating; a boar must be a male card (or asked for).
    if (column == ColAbnormalDate
        && !EditOutcome::vet(ValueRules::notBefore(QStringLiteral("发生时间"), newText, QStringLiteral("配种日期"),
                                                   EntryRules::matingDay(row.cells.at(ColFirst - 1))),
                             out))
        return out;
    if (column == ColBoar && !EditOutcome::vet(SowCard::mayServe(m_conn, newText), out))
        return out;
    QString message;
    const bool ok = EntryWrite::runEdit(m_conn, m_access, [&](QString& error) {
        CDbRecordset rs(&m_conn);
        if (!rs.Open(kSelect + QStringLiteral(" where id=%1").arg(id)) || rs.IsEOF())
            return failed(rs, error);
        if (!rs.SetFieldText(column - 1, newText))
            return failed(rs, error);
        switch (column) {
        case ColFirst: {
            const QString day = EntryRules::matingDay(newText);
            const QString due = EntryRules::expectedFarrowingDate(m_conn, breed, day);
            rs.SetFieldText(ColSecond - 1, day + QLatin1Char('P'));
            rs.SetFieldText(ColDue - 1, due);
            out.cells = {{ColSecond, day + QLatin1Char('P')}, {ColDue, due}};
            if (!rs.Update())
                return failed(rs, error);
            // A moved mating day moves the expected date her card shows.
            if (open && row.cells.at(ColReturned - 1) != QLatin1String("Y"))
                return SowCard::markPregnant(m_conn, sow, due, &error);
            return true;
        }
        case ColBoar:
            rs.SetFieldText(ColBoarBreed - 1, EntryRules::breedCode(newText));
            out.cells = {{ColBoarBreed, EntryRules::breedCode(newText)}};
            break;
        case ColReturned:
            if (newText == QLatin1String("Y")) {
                rs.SetFieldText(ColDue - 1, QString());
                out.cells = {{ColDue, QString()}};
                if (!rs.Update())
                    return failed(rs, error);
                return SowCard::markReturned(m_conn, sow, EntryRules::matingDay(row.cells.at(ColFirst - 1)), &error);
            } else {
                // Taken back: she is pregnant again, due on the row's date or, when a
                // return emptied it, on the date her mating day gives.
                QString due = row.cells.at(ColDue - 1);
                if (due.isEmpty())
                    due = EntryRules::expectedFarrowingDate(m_conn, breed,
                                                            EntryRules::matingDay(row.cells.at(ColFirst - 1)));
                rs.SetFieldText(ColDue - 1, due);
                out.cells = {{ColDue, due}};
                if (!rs.Update())
                    return failed(rs, error);
                return !open || SowCard::markPregnant(m_conn, sow, due, &error);
            }
        case ColDue:
            if (!rs.Update())
                return failed(rs, error);
            return SowCard::markPregnant(m_conn, sow, newText, &error);
        default:
            break;
        }
        if (!rs.Update())
            return failed(rs, error);
        return true;
    }, &message);
    if (!ok)
        return EditOutcome::notStored(message);
    return out;
}

bool MatingBook::deleteMating(qint64 id, QString* message)
{
    return EntryWrite::runEdit(m_conn, m_access, [&](QString& error) {
        CDbRecordset rs(&m_conn);
        if (!rs.Open(QStringLiteral("select id from 配种 where id=%1").arg(id)))
            return failed(rs, error);
        if (!rs.IsEOF() && !rs.Delete())
            return failed(rs, error);
        return true;
    }, message);
}

QString MatingBook::clickInfo(const QString& sow, const QString& parity) const
{
    CDbRecordset rs(&m_conn);
    const QString tag = sqlQuote(sow);
    rs.Open(QStringLiteral("select * from 配种 where 母猪耳号=") + tag + QStringLiteral(" order by [配种日期(1)] desc"));
    const bool firstLitter = parity == QLatin1String("1");
    if (rs.GetRecordCount() < 2) {
        if (!firstLitter)
            return noPreviousText();
        CDbRecordset card(&m_conn);
        if (!card.Open(QStringLiteral("select 毛色,来源,来源时间,[奶头数(左)],[奶头数(右)],出生日期,出生重,断奶重,断奶日龄 "
                                      "from 种猪卡 where 耳号=") + tag)
            || card.IsEOF())
            return QStringLiteral("配种数据错误，种猪") + sow + QStringLiteral("不存在！！");
        auto f = [&](int i) { return fieldText(card, i); };
        return QStringLiteral("基本信息： 入群时间:") + f(2) + QStringLiteral(" 毛色:") + f(0) + QStringLiteral(" 来源:")
               + f(1) + QStringLiteral(" 奶头数:") + f(3) + QLatin1Char('-') + f(4) + QStringLiteral(" 出生日期:") + f(5)
               + QStringLiteral(" 出生重:") + f(6) + QStringLiteral(" 断奶重:") + f(7) + QStringLiteral(" 断奶日龄:") + f(8)
               + QLatin1Char(' ');
    }
    rs.MoveFirst();
    rs.MoveNext(); // the mating before the latest
    auto f = [&](int i) { return fieldText(rs, i); };
    auto pair = [](const char* label, const QString& value) { return QString::fromUtf8(label) + value + QLatin1Char(' '); };
    QString info = QStringLiteral("上一次配种信息： ");
    info += pair("公猪:", f(3)) + pair("配种时间:", f(5).left(8)) + pair("胎次:", f(7)) + pair("配种方式:", f(8));
    if (f(15) == QLatin1String("no")) {
        info += pair("返情:", f(9));
        if (f(9) != QLatin1String("Y"))
            info += pair("预产:", f(10)) + pair("异常:", f(12)) + pair("异常时间:", f(13));
        info += pair("配种员:", f(11));
        return info;
    }
    info += pair("配种员:", f(11));
    if (firstLitter)
        return info;
    CDbRecordset litter(&m_conn);
    litter.Open(QStringLiteral("select 分娩日期,妊娠天数,饲养员 from 产仔记录 where 母猪耳号=") + tag + QStringLiteral(" and 胎次=")
                + sqlQuote(f(7)) + QStringLiteral(" and 配种日期=") + sqlQuote(f(5).left(8)));
    const int n = litter.IsOpen() ? litter.GetRecordCount() : 0;
    info += QString::asprintf("产仔数量:%d ", n);
    if (n > 0) {
        litter.MoveFirst();
        info += pair("分娩日期:", fieldText(litter, 0)) + pair("妊娠天数:", fieldText(litter, 1))
                + pair("饲养员:", fieldText(litter, 2));
    }
    return info;
}
