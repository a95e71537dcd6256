#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace {
QString defaultKey()
{
    const QByteArray env = qgetenv("TAMVO_INSTANCE_KEY");
    if (!env.isEmpty())
        return QString::fromUtf8(env);
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("user");
    return QStringLiteral("tamvo-") + user;
}

QString serverName(const QString& key)
{
    // Socket names must be short and plain.
    return QStringLiteral("tamvo-") +
           QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}
} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent)
    , m_key(key.isEmpty() ? defaultKey() : key)
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    m_lock = std::make_unique<QLockFile>(QDir::temp().filePath(serverName(m_key) + QStringLiteral(".lock")));
    m_lock->setStaleLockTime(0); // a lock left by a crashed copy is taken over
    if (!m_lock->tryLock(0))
        return false;
    m_server = new QLocalServer(this);
    QLocalServer::removeServer(serverName(m_key));
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                // "activate", then a tab and the database the later copy was asked for.
                const QString request = QString::fromUtf8(s->readAll());
                const QString wanted = request.section(QLatin1Char('\t'), 1);
                s->write("ok\t" + m_databasePath.toUtf8() + '\n');
                s->flush();
                s->disconnectFromServer();
                emit activationRequested();
                if (!wanted.isEmpty() && !sameDatabase(wanted, m_databasePath))
                    emit otherDatabaseRequested(wanted);
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    m_server->listen(serverName(m_key));
    return true;
}

bool SingleInstance::notifyRunning(int timeoutMs, const QString& requestedDatabase, QString* runningDatabase)
{
    QLocalSocket s;
    s.connectToServer(serverName(m_key));
    if (!s.waitForConnected(timeoutMs))
        return false;
    s.write("activate\t" + requestedDatabase.toUtf8());
    s.flush(); // whatever flush could not write yet is written while waiting below
    if (s.bytesToWrite() > 0 && !s.waitForBytesWritten(timeoutMs))
        return false;
    // The answer is one line; the running copy hangs up after it.
    QByteArray reply;
    while (!reply.contains('\n') && (s.bytesAvailable() > 0 || s.waitForReadyRead(timeoutMs)))
        reply += s.readAll();
    if (reply.isEmpty())
        return false;
    reply.chop(reply.endsWith('\n') ? 1 : 0);
    if (runningDatabase)
        *runningDatabase = QString::fromUtf8(reply).section(QLatin1Char('\t'), 1);
    return true;
}

bool SingleInstance::sameDatabase(const QString& a, const QString& b)
{
    const auto canonical = [](const QString& p) {
        const QFileInfo fi(p);
        const QString c = fi.canonicalFilePath();
        return c.isEmpty() ? fi.absoluteFilePath() : c;
    };
    return canonical(a) == canonical(b);
}
