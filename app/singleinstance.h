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
    // Called by a later copy: asks the running one to show itself. True when it answered.
    bool notifyRunning(int timeoutMs = 2000);
    QString key() const { return m_key; }

signals:
    void activationRequested();

private:
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
