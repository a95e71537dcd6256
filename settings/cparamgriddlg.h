#pragma once
#include "dbconnection.h"

#include <QDialog>
#include <QStringList>

class CComboGridCtrl;
class QPushButton;

// The per-breed parameter grid: physiology (`生理周期`) or yearly production targets
// (`生产目标`). One row per breed; the breed column is fixed. Every breed of `品种表`
// (and "所有品种" for the targets) has a row to fill in.
class CParamGridDlg : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Physiology, Targets };
    enum { IDD = 178, IDC_GRID = 1001 };

    explicit CParamGridDlg(Mode mode, QWidget* parent = nullptr);
    ~CParamGridDlg() override;

    // Opens the connection and fills the grid; on failure says "数据库连接失败!" and
    // leaves the grid empty.
    bool setUp(const QString& databasePath);
    // "保存并退出": writes the grid back (one transaction) and closes; a failure is
    // shown and the dialog stays open with its values.
    void OnOK();
    // Only the writing, for tests: false when nothing could be stored.
    bool save(QString* error = nullptr);

    Mode mode() const { return m_mode; }
    CComboGridCtrl* grid() const { return m_grid; }
    QStringList breedList() const { return m_breeds; }
    // Row of the breed (first match from row 1), -1 when none.
    int rowOf(const QString& breed) const;

    static QString tableName(Mode mode);
    static QString caption(Mode mode);
    static QStringList columnCaptions(Mode mode);
    // Whether a column holds whole numbers (else decimals) in the mode.
    static bool isWholeNumberColumn(Mode mode, int col);
    // Empty text or a number of the column's kind.
    static bool isValidValue(Mode mode, int col, const QString& text);

private:
    void onBeginEdit(int row, int col);
    void onEndEdit(int row, int col);

    Mode m_mode;
    CComboGridCtrl* m_grid;
    CDbConnection m_connection;
    QStringList m_breeds;
    QString m_editText;
};
