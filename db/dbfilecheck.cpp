#include "dbfilecheck.h"
#include "dbbackup.h"

#include <QThread>

CDbFileCheck::CDbFileCheck(const QString& path, QObject* parent)
    : QObject(parent)
    , m_path(path)
{
}

CDbFileCheck::~CDbFileCheck()
{
    if (m_thread)
        m_thread->wait();
}

bool CDbFileCheck::check(const QString& path, QString* problem)
{
    return DbBackup::isIntact(path, false, problem);
}

void CDbFileCheck::start()
{
    if (m_thread || m_done)
        return;
    m_thread = QThread::create([this] { m_ok = check(m_path, &m_problem); });
    m_thread->setParent(this);
    connect(m_thread, &QThread::finished, this, [this] {
        if (m_done)
            return;
        m_done = true;
        emit finished(m_ok, m_problem);
    });
    m_thread->start(QThread::LowPriority);
}

bool CDbFileCheck::isRunning() const
{
    return m_thread && !m_done;
}

bool CDbFileCheck::wait(QString* problem)
{
    start();
    m_thread->wait();
    if (!m_done) {
        m_done = true;
        emit finished(m_ok, m_problem);
    }
    if (problem)
        *problem = m_problem;
    return m_ok;
}
