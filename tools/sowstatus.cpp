#include "sowstatus.h"

#include "dbconnection.h"
#include "dbrecordset.h"
#include "textutil.h"

namespace SowStatus {

namespace {
const QString kNone = QStringLiteral("none");
}

State stateFromCard(const CardDates& card)
{
    const QString& r = card.returnDate;
    const QString& w = card.weaningDate;
    const QString& p = card.dueDate;
    if (r == kNone || w == kNone)
        return State::Reserve;
    if (r.isEmpty() && w.isEmpty() && !p.isEmpty())
        return State::Pregnant;
    if (r.isEmpty() && !w.isEmpty() && p.isEmpty())
        return State::EmptyWeaned;
    if (!r.isEmpty() && w.isEmpty() && p.isEmpty())
        return State::EmptyReturned;
    return State::Undetermined;
}

QString resultText(const QString& earTag, State state, const QString& date)
{
    const QString head = QStringLiteral("母猪") + earTag;
    switch (state) {
    case State::BadTag:
        return QString();
    case State::NoCard:
        return head + QStringLiteral("没有找到！");
    case State::Reserve:
        return head + QStringLiteral("尚未参加配种，为后备母猪！");
    case State::Pregnant:
        return head + QStringLiteral("处于妊娠状态，预计生产日期为") + date;
    case State::Nursing:
        return head + QStringLiteral("处于哺育状态，生产日期为") + date;
    case State::EmptyWeaned:
        return head + QStringLiteral("处于空怀状态，上一次断奶日期为") + date;
    case State::EmptyReturned:
        return head + QStringLiteral("处于空怀状态，前一次配种返情，返情日期为") + date;
    case State::Undetermined:
        break;
    }
    return head;
}

QString stateName(State state)
{
    switch (state) {
    case State::BadTag:
        return QStringLiteral("耳号错误");
    case State::NoCard:
        return QStringLiteral("没有找到");
    case State::Reserve:
        return QStringLiteral("后备母猪");
    case State::Pregnant:
        return QStringLiteral("妊娠");
    case State::Nursing:
        return QStringLiteral("哺育");
    case State::EmptyWeaned:
        return QStringLiteral("空怀(断奶)");
    case State::EmptyReturned:
        return QStringLiteral("空怀(返情)");
    case State::Undetermined:
        break;
    }
    return QString();
}

Status query(CDbConnection& conn, const QString& earTag)
{
    Status s;
    s.earTag = earTag;
    if (TextUtil::gbkLength(earTag) != 15) {
        s.state = State::BadTag;
        return s;
    }
    CDbRecordset rs(&conn);
    const QString tag = TextUtil::sqlQuote(earTag);
    if (!rs.Open(QStringLiteral("select 返情日期,断奶日期,预产日期 from 种猪卡 where 耳号=") + tag) || rs.IsEOF()) {
        s.state = State::NoCard;
        s.text = resultText(earTag, s.state, QString());
        return s;
    }
    CardDates card;
    rs.GetFieldText(0, card.returnDate);
    rs.GetFieldText(1, card.weaningDate);
    rs.GetFieldText(2, card.dueDate);
    s.state = stateFromCard(card);
    switch (s.state) {
    case State::Pregnant: {
        s.date = card.dueDate;
        CDbRecordset litter(&conn);
        if (litter.Open(QStringLiteral("select 分娩日期 from 产仔记录 where 母猪耳号=") + tag
                        + QStringLiteral(" and 预产日期=") + TextUtil::sqlQuote(card.dueDate))
            && !litter.IsEOF()) {
            s.state = State::Nursing;
            litter.GetFieldText(0, s.date);
        }
        break;
    }
    case State::EmptyWeaned:
        s.date = card.weaningDate;
        break;
    case State::EmptyReturned:
        s.date = card.returnDate;
        break;
    default:
        break;
    }
    s.text = resultText(earTag, s.state, s.date);
    return s;
}

} // namespace SowStatus
