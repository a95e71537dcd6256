#pragma once
#include "appmessage.h"

#include <QString>
#include <QTemporaryDir>
#include <QVector>
#include <deque>

// A new, empty farm database in a temporary folder, removed with the object.
class TempHerdDb
{
public:
    TempHerdDb();
    QString path() const { return m_path; }
    QString dir() const { return m_dir.path(); }
    // Runs statements directly (fixtures); fails the test on an error.
    bool exec(const QString& sql) const;
    // First column of the first row of a query, as text.
    QString scalar(const QString& sql) const;
    // All rows of a query, each row's fields joined by '|'.
    QStringList rows(const QString& sql) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// All rows of a query on any database file (a backup, a restored copy), each row's
// fields joined by '|'; empty when the file does not open.
QStringList queryRows(const QString& path, const QString& sql);

// Answers every message box from a script and records what was shown; restores the
// previous answerer when it goes.
class ScriptedMessages
{
public:
    ScriptedMessages();
    ~ScriptedMessages();
    // Answers for the next boxes, in order; when they run out, Ok / No is answered.
    void queue(MsgAnswer answer) { m_answers.push_back(answer); }
    const QVector<AppMessage>& shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    AppMessageHandler m_previous;
    std::deque<MsgAnswer> m_answers;
    QVector<AppMessage> m_shown;
};
