#include "screenregistry.h"

#include <QRegularExpression>

namespace {
QList<ScreenEntry>& entries()
{
    static QList<ScreenEntry> e;
    return e;
}
} // namespace

namespace ScreenRegistry {

void add(const ScreenEntry& entry)
{
    remove(entry.commandId);
    entries().append(entry);
}

void remove(int commandId)
{
    auto& e = entries();
    for (int i = e.size() - 1; i >= 0; --i)
        if (e.at(i).commandId == commandId)
            e.removeAt(i);
}

const ScreenEntry* find(int commandId)
{
    for (const ScreenEntry& e : entries())
        if (e.commandId == commandId)
            return &e;
    return nullptr;
}

QString plainCaption(const QString& menuText)
{
    QString t = menuText.section(QLatin1Char('\t'), 0, 0);
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)"));
    t.remove(mnemonic);
    t.remove(QLatin1Char('&'));
    if (t.endsWith(QLatin1String("...")))
        t.chop(3);
    return t.trimmed();
}

const ScreenEntry* findByName(const QString& idOrCaption)
{
    bool isNumber = false;
    const int id = idOrCaption.toInt(&isNumber);
    if (isNumber)
        return find(id);
    const QString wanted = plainCaption(idOrCaption);
    for (const ScreenEntry& e : entries())
        if (plainCaption(e.caption) == wanted)
            return &e;
    return nullptr;
}

QList<ScreenEntry> all()
{
    return entries();
}

namespace {
std::function<bool(int)>& opener()
{
    static std::function<bool(int)> f;
    return f;
}
} // namespace

void setCommandOpener(std::function<bool(int)> f)
{
    opener() = std::move(f);
}

bool openCommand(int commandId)
{
    return opener() ? opener()(commandId) : false;
}

} // namespace ScreenRegistry
