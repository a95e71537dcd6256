#pragma once
#include "gridscreen.h"

#include <QDate>

class QDateEdit;
class QLabel;
class QPushButton;

// The boar mating-frequency lists: the user sets a period ("自" ... "到") and presses "刷新".
// The reminder shows every boar against every week of the period, the alert only the
// boar-weeks above "星期超配数".
class CPinLvScreen : public CGridScreen
{
    Q_OBJECT
public:
    CPinLvScreen(int commandId, bool alert, QWidget* parent);

    QDate startDate() const;
    QDate endDate() const;
    void setPeriod(const QDate& start, const QDate& end);
    // The "刷新" button: checks the period, then rebuilds the list.
    void refresh();
    int threshold() const { return m_threshold; }

    QDateEdit* startEdit() const { return m_start; }
    QDateEdit* endEdit() const { return m_end; }
    QPushButton* refreshButton() const { return m_refresh; }

    bool exportSetFrom(const QDate& date) override;
    bool exportSetTo(const QDate& date) override;
    bool exportAction() override;

protected:
    void createControls() override;
    void anchorControls() override;
    void loadScreen() override;

private:
    bool periodAccepted(const QDate& start, const QDate& end);
    void showReminder(const QDate& start, const QDate& end);
    void showAlert(const QDate& start, const QDate& end);

    bool m_alert;
    int m_threshold = 3;
    QLabel* m_from;
    QDateEdit* m_start;
    QLabel* m_to;
    QDateEdit* m_end;
    QPushButton* m_refresh;
};

class CTPinLv : public CPinLvScreen
{
public:
    static constexpr int kCommandId = 32826;
    explicit CTPinLv(QWidget* parent = nullptr) : CPinLvScreen(kCommandId, false, parent) {}
};

class CJPinLv : public CPinLvScreen
{
public:
    static constexpr int kCommandId = 32832;
    explicit CJPinLv(QWidget* parent = nullptr) : CPinLvScreen(kCommandId, true, parent) {}
};
