#include "cbpeizhong.h"
#include "dbrecordset.h"
#include "reportgrid.h"

namespace {
const char* const kColumns = "母猪耳号,公猪耳号,[配种日期(1)],[配种日期(2)],胎次,配种方式,返情否,预产日期,配种员,备注";
}

CBPeiZhong::CBPeiZhong(QWidget* parent)
    : CBReportScreen(kCommandId, parent)
{
    setTitle(QStringLiteral("配种报表"));
}

QString CBPeiZhong::statement(const Selection& sel)
{
    // The period runs to the end date's first service ("A"): matings of the end date
    // marked "P" fall outside, as the report has always counted them.
    QString where = earTagCondition(sel);
    if (!where.isEmpty())
        where += QStringLiteral(" and ");
    return QStringLiteral("select ") + QString::fromUtf8(kColumns) + QStringLiteral(" from 配种 where ") + where +
           QStringLiteral("[配种日期(1)] between '") + sel.start + QStringLiteral("A' and '") + sel.end +
           QStringLiteral("A' order by 母猪耳号,胎次");
}

QString CBPeiZhong::reportTitle(const Selection& sel) const
{
    return sel.start + QStringLiteral("-") + sel.end + selectionText(sel) + QStringLiteral("配种纪录");
}

void CBPeiZhong::shapeGrid()
{
    CGridCtrl* g = grid();
    g->SetColumnCount(13);
    g->SetRowCount(2);
    g->SetFixedRowCount(2);
    g->SetFixedColumnCount(1);
    ReportGrid::setHeader(g, 0, {QStringLiteral("序号"), QStringLiteral("受配母猪"), QString(), QStringLiteral("与配公猪"), QString(),
                                 QStringLiteral("配种日期"), QString(), QStringLiteral("胎次"), QStringLiteral("配种方式"),
                                 QStringLiteral("返情否"), QStringLiteral("预产日期"), QStringLiteral("配种员"),
                                 QStringLiteral("备注")});
    ReportGrid::setHeader(g, 1, {QString(), QStringLiteral("耳号"), QStringLiteral("品种"), QStringLiteral("耳号"),
                                 QStringLiteral("品种"), QStringLiteral("第一次"), QStringLiteral("第二次")});
    for (int c : {0, 7, 8, 9, 10, 11, 12})
        g->SetFixedCellCombine(0, c, 2, 1);
    for (int c : {1, 3, 5})
        g->SetFixedCellCombine(0, c, 1, 2);
}

void CBPeiZhong::fillReport(const Selection& sel)
{
    CGridCtrl* g = grid();
    g->SetRowCount(2);
    CDbRecordset rs(&connection());
    if (!rs.Open(statement(sel)))
        return;
    g->SetRowCount(2 + rs.GetRecordCount());
    int row = 2;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext(), ++row) {
        QString f[10];
        for (int i = 0; i < 10; ++i)
            rs.GetFieldText(i, f[i]);
        const QStringList cells = {QString::number(row - 1), f[0], f[0].left(2), f[1], f[1].left(2), f[2], f[3],
                                   f[4], f[5], f[6], f[7], f[8], f[9]};
        for (int c = 0; c < cells.size(); ++c)
            g->SetItemText(row, c, cells.at(c));
    }
}
