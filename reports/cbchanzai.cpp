#include "cbchanzai.h"
#include "dbrecordset.h"
#include "reportgrid.h"
#include "textutil.h"

#include <QColor>

namespace {
// Columns 1-15 of a piglet row, as 产仔记录 names them.
const char* const kPigletFields[] = {"仔猪耳号", "性别", "奶头数左", "奶头数右", "毛色", "初生重", "实断奶日", "实断奶重",
                                     "20日龄校重", "28日龄校重", "仔猪状态", "转群去向", "转群日期", "带奶母猪号", "备注"};
// The five summed columns: 初生重, 实断奶日, 实断奶重, 20日龄校重, 28日龄校重 (grid columns 6-10).
constexpr int kFirstSumColumn = 6;
constexpr int kSums = 5;

// Column 16: label over value, for each litter datum of the block.
const char* const kLitterLabels[] = {"母猪耳号", "品种", "胎次", "与配公猪", "品种", "配种方式",
                                     "配种日期", "预产日期", "分娩日期", "妊娠天数", "饲养员"};

struct Litter {
    QString sow, parity, boar, method, mating, due, farrowed, days, keeper;
    QVector<QStringList> piglets;
};
} // namespace

CBChanZai::CBChanZai(QWidget* parent)
    : CBReportScreen(kCommandId, parent)
{
    setTitle(QStringLiteral("产仔报表"));
    setFindPrompt(QStringLiteral("输入您要查找的仔猪耳号:"));
}

QString CBChanZai::statement(const Selection& sel)
{
    QString where = earTagCondition(sel);
    if (!where.isEmpty())
        where += QStringLiteral(" and ");
    return QStringLiteral("select * from 产仔记录 where ") + where + QStringLiteral("分娩日期 between '") + sel.start +
           QStringLiteral("' and '") + sel.end + QStringLiteral("' order by 母猪耳号,胎次,仔猪耳号");
}

QString CBChanZai::reportTitle(const Selection&) const
{
    return QStringLiteral("产仔纪录报表");
}

void CBChanZai::shapeGrid()
{
    CGridCtrl* g = grid();
    g->SetColumnCount(17);
    g->SetRowCount(2);
    g->SetFixedRowCount(2);
    g->SetFixedColumnCount(1);
    ReportGrid::setHeader(g, 0, {QStringLiteral("序号"), QStringLiteral("仔猪耳号"), QStringLiteral("性别"),
                                 QStringLiteral("奶头数"), QString(), QStringLiteral("毛色"), QStringLiteral("初生重"),
                                 QStringLiteral("断奶日龄"), QStringLiteral("实断奶重"), QStringLiteral("20龄较重"),
                                 QStringLiteral("28龄较重"), QStringLiteral("状态"), QStringLiteral("转群去向"),
                                 QStringLiteral("转群日期"), QStringLiteral("代奶母猪"), QStringLiteral("备注"),
                                 QStringLiteral("种猪信息")});
    ReportGrid::setHeader(g, 1, {QString(), QString(), QString(), QStringLiteral("左"), QStringLiteral("右")});
    for (int c = 0; c < 17; ++c)
        if (c != 3 && c != 4)
            g->SetFixedCellCombine(0, c, 2, 1);
    g->SetFixedCellCombine(0, 3, 1, 2);
    m_blocks.clear();
    g->SetPrintBreakRows({});
    addBlock(kPigletRows);
}

CBChanZai::Block CBChanZai::addBlock(int pigletRows)
{
    CGridCtrl* g = grid();
    Block b;
    b.firstRow = g->GetRowCount();
    b.pigletRows = pigletRows;
    g->SetRowCount(b.endRow());
    for (int i = 0; i < pigletRows; ++i)
        g->SetItemText(b.firstRow + i, 0, QString::number(i + 1));
    ReportGrid::setCentred(g, b.totalRow(), 0, QStringLiteral("合计"));
    ReportGrid::setCentred(g, b.averageRow(), 0, QStringLiteral("平均"));
    for (int i = 0; i < 11; ++i)
        ReportGrid::setCentred(g, b.firstRow + 2 * i, 16, QString::fromUtf8(kLitterLabels[i]));
    m_blocks << b;
    return b;
}

void CBChanZai::addSeparator()
{
    CGridCtrl* g = grid();
    const int row = g->GetRowCount();
    g->SetRowCount(row + 1);
    g->SetItemText(row, 0, QStringLiteral("换行"));
    for (int c = 0; c < g->GetColumnCount(); ++c)
        g->SetItemBkColour(row, c, QColor(0, 0, 0));
    QVector<int> breaks = g->GetPrintBreakRows();
    breaks << row;
    g->SetPrintBreakRows(breaks);
}

void CBChanZai::fillReport(const Selection& sel)
{
    CGridCtrl* g = grid();
    g->SetRowCount(2);
    m_blocks.clear();
    g->SetPrintBreakRows({});

    // The litters first, so a block can be made large enough for every piglet.
    QVector<Litter> litters;
    CDbRecordset rs(&connection());
    if (rs.Open(statement(sel))) {
        auto field = [&rs](const char* name) {
            QString v;
            rs.GetFieldText(QString::fromUtf8(name), v);
            return v;
        };
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            const QString sow = field("母猪耳号");
            const QString parity = field("胎次");
            if (litters.isEmpty() || litters.last().sow != sow || litters.last().parity != parity) {
                Litter l;
                l.sow = sow;
                l.parity = parity;
                l.boar = field("公猪耳号");
                l.method = field("配种方式");
                l.mating = field("配种日期");
                l.due = field("预产日期");
                l.farrowed = field("分娩日期");
                l.days = field("妊娠天数");
                l.keeper = field("饲养员");
                litters << l;
            }
            QStringList piglet;
            for (const char* f : kPigletFields)
                piglet << field(f);
            litters.last().piglets << piglet;
        }
    }
    if (litters.isEmpty()) {
        addBlock(kPigletRows);
        return;
    }

    for (int i = 0; i < litters.size(); ++i) {
        const Litter& l = litters.at(i);
        if (i > 0)
            addSeparator();
        const Block b = addBlock(std::max<int>(kPigletRows, l.piglets.size()));
        const QStringList values = {l.sow, l.sow.left(2), l.parity, l.boar, l.boar.left(2), l.method,
                                    l.mating, l.due, l.farrowed, l.days, l.keeper};
        for (int k = 0; k < values.size(); ++k)
            g->SetItemText(b.firstRow + 2 * k + 1, 16, values.at(k));
        double sums[kSums] = {0, 0, 0, 0, 0};
        int n = 0;
        for (const QStringList& p : l.piglets) {
            for (int c = 0; c < p.size(); ++c)
                g->SetItemText(b.firstRow + n, c + 1, p.at(c));
            for (int k = 0; k < kSums; ++k)
                sums[k] += TextUtil::doublePrefix(p.at(kFirstSumColumn - 1 + k));
            ++n;
        }
        // Dead and stillborn piglets count like the others.
        for (int k = 0; k < kSums; ++k) {
            const int c = kFirstSumColumn + k;
            g->SetItemText(b.totalRow(), c, QString::asprintf(k == 1 ? "%.0f" : "%.2f", sums[k]));
            g->SetItemText(b.averageRow(), c, QString::asprintf("%.2f", sums[k] / n));
        }
    }
}
