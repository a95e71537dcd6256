#pragma once
#include "paramkit_global.h"

#include <QDialog>

class QLineEdit;

// 警报设置: the five alert thresholds, whole numbers of days (the last one a count of
// matings per week).
class PARAMKIT_EXPORT CChaoDays : public QDialog
{
    Q_OBJECT
public:
    enum { IDD = 12001, kCount = 5 };
    // The fields' ids, in the order of the members.
    static constexpr int kFieldIds[kCount] = {12000, 12001, 12003, 12004, 12005};

    explicit CChaoDays(QWidget* parent = nullptr);

    // 初配, 待配, 预产, 断奶 days and the weekly boar matings, in this order.
    int m_values[kCount] = {0, 0, 0, 0, 0};

    QLineEdit* field(int index) const { return m_fields[index]; }

    void OnInitDialog();
    // "确定": every field must hold a whole number; the first that does not is named
    // and the dialog stays open.
    void OnOK();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_fields[kCount];
};
