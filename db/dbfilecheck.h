#pragma once
#include <QObject>
#include <QString>

class QThread;

// SQLite's quick check of a whole database file on a thread of its own: the file of a
// large farm takes a second or more to read, which the window should not wait for.
// The check (DbBackup::isIntact) opens its own connection; the result arrives as finished().
class CDbFileCheck : public QObject
{
    Q_OBJECT
public:
    explicit CDbFileCheck(const QString& path, QObject* parent = nullptr);
    ~CDbFileCheck() override; // waits for a check still running

    void start();
    bool isRunning() const;
    // Waits for the check (starting it when needed). True when the file is whole;
    // otherwise *problem says what SQLite found.
    bool wait(QString* problem = nullptr);
    // The same check, run at once on this thread.
    static bool check(const QString& path, QString* problem = nullptr);

signals:
    void finished(bool ok, const QString& problem);

private:
    QString m_path;
    QThread* m_thread = nullptr;
    bool m_ok = false;
    bool m_done = false;
    QString m_problem;
};
