#pragma once
#include <QList>
#include <QString>
#include <functional>

class QWidget;

// Which screen each command opens. The main frame creates screens only through this
// table, and so does the command-line exporter; tests register screens of their own.
struct ScreenEntry {
    int commandId = 0;
    QString caption; // the menu caption without mnemonic or shortcut, e.g. "母猪待配提醒"
    std::function<QWidget*(QWidget* parent)> create;
};

namespace ScreenRegistry {
void add(const ScreenEntry& entry); // replaces an entry with the same command id
void remove(int commandId);
const ScreenEntry* find(int commandId);
// By command id written as digits, or by caption (mnemonic "(&X)", "&" and "..." ignored).
const ScreenEntry* findByName(const QString& idOrCaption);
QList<ScreenEntry> all();
// How a screen opens another screen (the morning view opens a list): the frame sets
// the opener; without one nothing opens and the answer is false.
void setCommandOpener(std::function<bool(int commandId)> opener);
bool openCommand(int commandId);
// A menu caption as the table keeps it: "种猪档案(&D)\tCtrl+D" -> "种猪档案".
QString plainCaption(const QString& menuText);
}
