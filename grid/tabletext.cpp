#include "tabletext.h"

namespace {
QString quoted(const QString& field, QChar separator)
{
    const bool needs = field.contains(separator) || field.contains(QLatin1Char('"')) || field.contains(QLatin1Char('\n'))
                       || field.contains(QLatin1Char('\r'));
    if (!needs)
        return field;
    QString out = field;
    out.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}
} // namespace

namespace TableText {

QString toTsv(const Rows& rows)
{
    QString out;
    for (const QStringList& row : rows) {
        QStringList fields;
        fields.reserve(row.size());
        for (const QString& f : row)
            fields << quoted(f, QLatin1Char('\t'));
        out += fields.join(QLatin1Char('\t'));
        out += QLatin1String("\r\n");
    }
    return out;
}

Rows parseTsv(const QString& text)
{
    Rows rows;
    QStringList row;
    QString field;
    bool inQuotes = false;
    bool fieldStarted = false;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        if (inQuotes) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                    field += ch;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += ch;
            }
            continue;
        }
        if (ch == QLatin1Char('"') && !fieldStarted) {
            inQuotes = true;
            fieldStarted = true;
        } else if (ch == QLatin1Char('\t')) {
            row << field;
            field.clear();
            fieldStarted = false;
        } else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            if (ch == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            row << field;
            rows << row;
            row.clear();
            field.clear();
            fieldStarted = false;
        } else {
            field += ch;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !row.isEmpty() || !field.isEmpty()) {
        row << field;
        rows << row;
    }
    return rows;
}

QString csvField(const QString& field)
{
    return quoted(field, QLatin1Char(','));
}

QString csvLine(const QStringList& fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString& f : fields)
        out << csvField(f);
    return out.join(QLatin1Char(','));
}

} // namespace TableText
