#include "exportable.h"
#include "screenregistry.h"

namespace {
QList<ExportDialogs::Entry>& entries()
{
    static QList<ExportDialogs::Entry> e;
    return e;
}
} // namespace

namespace ExportDialogs {

void add(const Entry& entry)
{
    auto& e = entries();
    for (int i = e.size() - 1; i >= 0; --i)
        if (e.at(i).commandId == entry.commandId)
            e.removeAt(i);
    e.append(entry);
}

const Entry* findByName(const QString& idOrCaption)
{
    bool isNumber = false;
    const int id = idOrCaption.toInt(&isNumber);
    const QString wanted = ScreenRegistry::plainCaption(idOrCaption);
    for (const Entry& e : entries())
        if (isNumber ? e.commandId == id : ScreenRegistry::plainCaption(e.caption) == wanted)
            return &e;
    return nullptr;
}

QList<Entry> all()
{
    return entries();
}

} // namespace ExportDialogs
