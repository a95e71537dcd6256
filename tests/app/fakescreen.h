#pragma once
// A stand-in screen for frame tests: it answers the frame's questions from plain
// members and records what the frame asked of it.
#include "appmessage.h"
#include "commandtable.h"
#include "screencommands.h"
#include "screenregistry.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QList>
#include <QSet>
#include <QVBoxLayout>
#include <QWidget>

class FakeScreen : public QWidget, public IScreenCommands
{
public:
    FakeScreen(int commandId, QWidget* parent = nullptr)
        : QWidget(parent)
        , m_id(commandId)
    {
        const CommandInfo* info = CommandTable::find(commandId);
        setWindowTitle(info ? ScreenRegistry::plainCaption(info->menuText) : QString::number(commandId));
        auto* layout = new QVBoxLayout(this);
        auto* label = new QLabel(QStringLiteral("测试画面：") + windowTitle(), this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }

    int screenCommandId() const override { return m_id; }
    int screenModule() const override
    {
        const CommandInfo* info = CommandTable::find(m_id);
        return info ? info->module : 0;
    }
    bool commandEnabled(int commandId, bool* checked) const override
    {
        if (checked)
            *checked = checkedCommands.contains(commandId);
        return handled.contains(commandId);
    }
    bool runCommand(int commandId) override
    {
        ran << commandId;
        if (onRun)
            onRun(commandId);
        return handled.contains(commandId);
    }
    void findText(bool down, const QString& text) override { finds << QString::number(down) + text; }
    bool queryClose() override
    {
        ++closeQuestions;
        if (modified)
            AppMessageBox(QStringLiteral("记录已经修改，要保存吗？"), windowTitle(), MsgIcon::Warning, MsgButtons::YesNo);
        return mayClose;
    }

    int m_id;
    QSet<int> handled;
    QSet<int> checkedCommands;
    QList<int> ran;
    QStringList finds;
    std::function<void(int)> onRun;
    int closeQuestions = 0;
    bool modified = false;
    bool mayClose = true;
};

// Registers fake screens for command ids; counts how often each was created and
// whether the wait cursor was showing at the time.
struct FakeScreens {
    QHash<int, int> created;
    QHash<int, bool> waitCursor;
    QList<int> ids;

    void add(std::initializer_list<int> commandIds)
    {
        for (int id : commandIds) {
            ids << id;
            ScreenRegistry::add({id, CommandTable::find(id)->menuText, [this, id](QWidget* parent) -> QWidget* {
                                     ++created[id];
                                     const QCursor* c = QApplication::overrideCursor();
                                     waitCursor[id] = c && c->shape() == Qt::WaitCursor;
                                     return new FakeScreen(id, parent);
                                 }});
        }
    }
    ~FakeScreens()
    {
        for (int id : ids)
            ScreenRegistry::remove(id);
    }
};
