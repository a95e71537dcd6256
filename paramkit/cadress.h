#pragma once
#include "clisteditdlg.h"

// A place list (origins, sale places); the caller sets the title.
class PARAMKIT_EXPORT CAdress : public CListEditDlg
{
    Q_OBJECT
public:
    enum { IDD = 12003, kCapacity = 100 };
    explicit CAdress(QWidget* parent = nullptr);

    QString m_list[kCapacity];
    QString m_title;

protected:
    QString& entryCode(int i) override { return m_list[i]; }
    QString headings() const override { return QStringLiteral("地点,240"); }
    void showEvent(QShowEvent* event) override;
};
