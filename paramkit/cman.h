#pragma once
#include "clisteditdlg.h"

// A person list (inseminators, stockmen, vets); the caller sets the title.
class PARAMKIT_EXPORT CMan : public CListEditDlg
{
    Q_OBJECT
public:
    enum { IDD = 12003, kCapacity = 30 };
    explicit CMan(QWidget* parent = nullptr);

    QString m_list[kCapacity];
    QString m_title;

protected:
    QString& entryCode(int i) override { return m_list[i]; }
    QString headings() const override { return QStringLiteral("姓名,150"); }
    void showEvent(QShowEvent* event) override;
};
