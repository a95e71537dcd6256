#pragma once
#include "clisteditdlg.h"

// 毛色种类设置: the coat-colour list.
class PARAMKIT_EXPORT CMaoSe : public CListEditDlg
{
    Q_OBJECT
public:
    enum { IDD = 12003, kCapacity = 30 };
    explicit CMaoSe(QWidget* parent = nullptr);

    QString m_list[kCapacity];

protected:
    QString& entryCode(int i) override { return m_list[i]; }
    QString headings() const override { return QStringLiteral("毛色,150"); }
};
