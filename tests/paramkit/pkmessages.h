#pragma once
#include "pkmessage.h"

#include <QStringList>
#include <deque>

// Answers the settings library's message boxes from a script and records them.
class LibraryMessages
{
public:
    LibraryMessages()
    {
        m_previous = ParamKit::setMessageHandler([this](const ParamKit::Message& m) {
            m_shown << m;
            if (m_answers.empty())
                return m.kind != ParamKit::MessageKind::Question;
            const bool answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        });
    }
    ~LibraryMessages() { ParamKit::setMessageHandler(m_previous); }
    void queue(bool yes) { m_answers.push_back(yes); }
    QStringList texts() const
    {
        QStringList t;
        for (const auto& m : m_shown)
            t << m.text;
        return t;
    }
    const QList<ParamKit::Message>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

private:
    ParamKit::MessageHandler m_previous;
    std::deque<bool> m_answers;
    QList<ParamKit::Message> m_shown;
};
