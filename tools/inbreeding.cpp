#include "inbreeding.h"

#include "dbrecordset.h"

#include <QVector>
#include <algorithm>

namespace Inbreeding {

const QStringList& pedigreeColumns()
{
    static const QStringList columns = {
        QStringLiteral("父亲"), QStringLiteral("母亲"), QStringLiteral("父父"), QStringLiteral("父母"), QStringLiteral("母父"),
        QStringLiteral("母母"), QStringLiteral("父父父"), QStringLiteral("父父母"), QStringLiteral("父母父"), QStringLiteral("父母母"),
        QStringLiteral("母父父"), QStringLiteral("母父母"), QStringLiteral("母母父"), QStringLiteral("母母母")};
    return columns;
}

Pedigree readPedigree(const CDbRecordset& rs)
{
    Pedigree p;
    for (int i = 0; i < int(p.size()); ++i)
        rs.GetFieldText(i, p[size_t(i)]);
    return p;
}

Lines lines(const Pedigree& p)
{
    // Each line: parent, grandparent, great-grandparent (indexes into pedigreeColumns()).
    static constexpr int kLine[8][3] = {{0, 2, 6}, {0, 2, 7}, {0, 3, 8}, {0, 3, 9},
                                        {1, 4, 10}, {1, 4, 11}, {1, 5, 12}, {1, 5, 13}};
    Lines l;
    for (int b = 0; b < 8; ++b)
        for (int g = 0; g < 3; ++g)
            l[size_t(b)][size_t(g)] = p[size_t(kLine[b][g])];
    return l;
}

float coefficient(const Pedigree& boar, const Pedigree& sow)
{
    const Lines bl = lines(boar);
    const Lines sl = lines(sow);
    auto same = [](const QString& a, const QString& b) { return !a.isEmpty() && a == b; };
    struct Common {
        QString tag;
        int count;
    };
    QVector<Common> common;
    for (int b = 0; b < 8; ++b) {
        for (int g = 0; g < 3; ++g) {
            // An ancestor in the same position on both cards ends the line: its own
            // ancestors are already inside its count.
            if (g > 0 && same(bl[size_t(b)][size_t(g - 1)], sl[size_t(b)][size_t(g - 1)]))
                break;
            const QString& x = bl[size_t(b)][size_t(g)];
            if (x.isEmpty())
                continue;
            for (int s = 0; s < 8; ++s) {
                for (int h = 0; h < 3; ++h) {
                    if (sl[size_t(s)][size_t(h)] != x)
                        continue;
                    auto it = std::find_if(common.begin(), common.end(), [&](const Common& c) { return c.tag == x; });
                    if (it == common.end())
                        common.append({x, 1});
                    else
                        ++it->count;
                    break; // one match per sow line
                }
            }
        }
    }
    float sum = 0.0f;
    for (const Common& c : std::as_const(common))
        sum += (c.count == 16 ? 1.125f : 1.0f) * float(c.count);
    return sum / 128.0f;
}

QString coefficientText(float f)
{
    return QString::asprintf("%.5f", double(f));
}

} // namespace Inbreeding
