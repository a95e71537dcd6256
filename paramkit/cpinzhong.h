#pragma once
#include "clisteditdlg.h"

// 品种设置: the breed list, each entry a code (the ear-tag prefix) and a name.
class PARAMKIT_EXPORT CPinZhong : public CListEditDlg
{
    Q_OBJECT
public:
    enum { IDD = 12002, kCapacity = 30 };
    explicit CPinZhong(QWidget* parent = nullptr);

    // m_list[i][0] the code, m_list[i][1] the name.
    QString m_list[kCapacity][2];

protected:
    QString& entryCode(int i) override { return m_list[i][0]; }
    QString* entryName(int i) override { return &m_list[i][1]; }
    QString headings() const override { return QStringLiteral("代号,60;名称,150"); }
};
