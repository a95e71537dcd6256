#include "framestatusbar.h"

#include <QDir>
#include <QFile>
#include <QLabel>

namespace {

// Linux keeps the keyboard's lock lights under /sys/class/leds (input*::capslock ...).
// Where they cannot be read the panes stay greyed, as a switched-off light would.
bool lockLightOn(const QString& name)
{
    const QDir leds(QStringLiteral("/sys/class/leds"));
    const QStringList entries = leds.entryList({QStringLiteral("*::") + name}, QDir::Dirs | QDir::System);
    for (const QString& e : entries) {
        QFile f(leds.filePath(e + QStringLiteral("/brightness")));
        if (f.open(QIODevice::ReadOnly) && f.readAll().trimmed().toInt() > 0)
            return true;
    }
    return false;
}

} // namespace

CFrameStatusBar::CFrameStatusBar(QWidget* parent)
    : QStatusBar(parent)
    , m_idle(new QLabel(QStringLiteral("就绪"), this))
{
    setObjectName(QStringLiteral("StatusBar"));
    addWidget(m_idle, 1);
    const char* texts[] = {"大写", "数字", "滚动"};
    for (int i = 0; i < 3; ++i) {
        m_locks[i] = new QLabel(QString::fromUtf8(texts[i]), this);
        m_locks[i]->setFrameShape(QFrame::StyledPanel);
        m_locks[i]->setFrameShadow(QFrame::Sunken);
        m_locks[i]->setAlignment(Qt::AlignCenter);
        m_locks[i]->setMinimumWidth(m_locks[i]->fontMetrics().horizontalAdvance(m_locks[i]->text()) + 12);
        addPermanentWidget(m_locks[i]);
    }
    updateIndicators();
}

QString CFrameStatusBar::messageText() const
{
    const QString message = currentMessage();
    return message.isEmpty() ? m_idle->text() : message;
}

QLabel* CFrameStatusBar::indicator(int index) const
{
    return index >= 0 && index < 3 ? m_locks[index] : nullptr;
}

void CFrameStatusBar::updateIndicators()
{
    const char* lights[] = {"capslock", "numlock", "scrolllock"};
    for (int i = 0; i < 3; ++i)
        m_locks[i]->setEnabled(lockLightOn(QString::fromLatin1(lights[i])));
}
