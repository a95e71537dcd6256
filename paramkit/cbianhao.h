#pragma once
#include "paramkit_global.h"

#include <QDialog>

class QLineEdit;

// 猪场编号: the farm number (4 characters) and the sub-farm number (1 character) that
// every new piglet ear tag carries.
class PARAMKIT_EXPORT CBianHao : public QDialog
{
    Q_OBJECT
public:
    enum { IDD = 12000, IDC_FARM = 12000, IDC_SUBFARM = 12001 };
    explicit CBianHao(QWidget* parent = nullptr);

    QString m_farmNumber;
    QString m_subFarmNumber;

    QLineEdit* farmEdit() const { return m_farm; }
    QLineEdit* subFarmEdit() const { return m_subFarm; }

    // Shows the members in the fields (runs by itself when the dialog shows).
    void OnInitDialog();
    // "确定": takes the fields when they make a valid ear-tag part; otherwise says why
    // and stays open.
    void OnOK();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_farm;
    QLineEdit* m_subFarm;
};
