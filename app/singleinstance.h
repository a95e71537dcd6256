#pragma once
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

// Only one copy of the program runs per user (or per key): a second copy asks the
// first to come to the front, then exits.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // The key comes from TAMVO_INSTANCE_KEY when set (tests run side by side), else the user.
    explicit SingleInstance(const QString& key = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first copy; it then listens for later copies.
    bool acquire();
    // The running copy's database, told to a later copy that asks for another one.
    void setDatabasePath(const QString& path) { m_databasePath = path; }
    // Called by a later copy: asks the running one to show itself. True when it answered;
    // runningDatabase then holds the database the running copy works on (empty when it
    // did not say). requestedDatabase is the one this copy was started with, if any.
    bool notifyRunning(int timeoutMs = 2000, const QString& requestedDatabase = QString(),
                       QString* runningDatabase = nullptr);
    QString key() const { return m_key; }
    // Whether two paths name the same database file.
    static bool sameDatabase(const QString& a, const QString& b);

signals:
    void activationRequested();
    // A later copy was started with another --database; it has ended.
    void otherDatabaseRequested(const QString& path);

private:
    QString m_key;
    QString m_databasePath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
