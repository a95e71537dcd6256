#pragma once
#include "dbconnection.h"
#include "dbrecordset.h"

#include <QDate>
#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

// 数据库清理: removes old records in bulk, category by category, then compacts the
// database. Each cleanup is one transaction: every chosen record goes, or none.
class CCleanupDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32887;

    explicit CCleanupDlg(QWidget* parent = nullptr);
    ~CCleanupDlg() override;

    // Connects to the database (the screens' one when path is empty); shows
    // "数据库连接失败!" when it does not open. The dialog opens either way.
    bool setUp(const QString& databasePath = QString());

    // The two "清理" buttons: family 1 (dates 1011, list 1008) or 2 (1012, 1009).
    // True when records were removed (or there were none to remove).
    bool cleanUp(int family);

    // The items of each category list and the text each shows in the confirmation.
    static QStringList categories(int family);
    static QString confirmationText(int family, int index);

    QDateEdit* dateEdit(int family) const { return family == 1 ? m_date1 : m_date2; }
    QComboBox* categoryList(int family) const { return family == 1 ? m_kind1 : m_kind2; }
    QString statusText() const;

    static void run(QWidget* frame);

private:
    bool runStatements(int family, int index, const QString& day);
    bool deleteWhere(const QString& sql);
    bool forEachRow(const QString& select, const std::function<bool(const QString& tag, const QString& state)>& deletes);
    void setStatus(const QString& text);
    void closeConnection();
    bool reopen();

    QString m_path;
    CDbConnection m_connection;
    CDbRecordset m_walk; // walks the rows of a for-each cleanup
    CDbRecordset m_exec; // runs the deletes
    QDateEdit* m_date1;
    QComboBox* m_kind1;
    QDateEdit* m_date2;
    QComboBox* m_kind2;
    QLabel* m_status;
};
