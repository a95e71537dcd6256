#pragma once
#include "resizableformview.h"
#include "screencommands.h"

class QLabel;
class QListWidget;

// 肥育测定 and 屠宰测定: windows the menus open, where these test records will be kept
// one day. They read and write nothing, offer no command and close without a question.
class CEmptyEntryView : public CResizableFormView, public IScreenCommands
{
    Q_OBJECT
public:
    CEmptyEntryView(int commandId, const QString& title, const QString& notice, bool withList, QWidget* parent);

    QString notice() const;
    QListWidget* list() const { return m_list; }

    int screenCommandId() const override { return m_commandId; }
    int screenModule() const override { return 1; }
    bool commandEnabled(int, bool* checked) const override;
    bool runCommand(int) override { return false; }
    void findText(bool, const QString&) override {}
    bool queryClose() override { return true; }

private:
    int m_commandId;
    QLabel* m_notice;
    QListWidget* m_list = nullptr;
};

// 肥育测定: a form with one empty list.
class CInFeiView : public CEmptyEntryView
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32775;
    explicit CInFeiView(QWidget* parent = nullptr);
};

// 屠宰测定: an empty form.
class CInTouView : public CEmptyEntryView
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32774;
    explicit CInTouView(QWidget* parent = nullptr);
};
