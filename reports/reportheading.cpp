#include "reportheading.h"
#include "dbconnection.h"
#include "dbrecordset.h"

#include <QStringList>

namespace {
std::function<QString()>& source()
{
    static std::function<QString()> s;
    return s;
}
} // namespace

namespace ReportHeading {

void setOwnerNameSource(std::function<QString()> s)
{
    source() = std::move(s);
}

QString ownerName()
{
    return source() ? source()() : QStringLiteral("XXXXXX公司");
}

QString allBreeds()
{
    return QStringLiteral("所有品种");
}

QStringList breedChoices(CDbConnection& conn)
{
    QStringList out;
    CDbRecordset rs(&conn);
    if (rs.Open(QStringLiteral("select 品种代号 from 品种表"))) {
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            QString code;
            rs.GetFieldText(0, code);
            if (code.size() >= 2 && code.at(0) == code.at(1) && !out.contains(code))
                out << code;
        }
    }
    out.sort();
    out << allBreeds();
    return out;
}

} // namespace ReportHeading
