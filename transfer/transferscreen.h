#pragma once
#include "gridscreen.h"

#include <QDate>
#include <QStringList>
#include <functional>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

// The base of the five transfer screens: the top row ("类型：" list, date caption with
// the two pickers, "刷新"), the question about unsaved work before a reload, the
// cell-lock rules of the type-0 list, and save and delete running inside the screen's
// lazy transaction. A screen supplies its definition, its load, its cell rules and
// the writes of its save and delete.
class CTransferScreen : public CGridScreen
{
    Q_OBJECT
public:
    struct Definition {
        QString title;
        QString closeCaption;   // the close question's caption
        QString refreshCaption; // the question's caption before "刷新" reloads
        QStringList types;      // captions of the list types, type 0 first
        QString firstDateCaption;  // the date caption of type 0
        QString otherDateCaption;  // of the other types; empty: the same as type 0
        QStringList headers;
        int fixedRows = 1;
        QString findPrompt = QStringLiteral("输入您要查找的仔猪耳号:");
        int addRows = 5;
        // Shown when the database refuses a write of the save; empty: the general text.
        QString saveFailText;
    };

    CTransferScreen(int commandId, Definition definition, QWidget* parent = nullptr);
    ~CTransferScreen() override;

    const Definition& definition() const { return m_def; }
    // The list type on the grid and the one chosen in the list.
    int shownType() const { return m_shownType; }
    int chosenType() const;
    QString dateCaption() const;
    QDate fromDate() const;
    QDate toDate() const;
    QString fromText() const; // "%Y%m%d"
    QString toText() const;
    bool refreshEnabled() const;

    // The form's entry points as its controls use them.
    void chooseType(int type);
    void setFromDate(const QDate& date);
    void setToDate(const QDate& date);
    // "刷新": answers the question about unsaved work of a type-0 list, then loads the
    // chosen type. False when the work could not be saved (the list stays as it was).
    bool refresh();

    // IExportable: --type, --from, --to, and "刷新" as the action.
    bool exportSetType(int type) override;
    bool exportSetFrom(const QDate& date) override;
    bool exportSetTo(const QDate& date) override;
    bool exportAction() override { return refresh(); }

    // Cell locks of the data rows.
    bool isLocked(int row, int col) const;

protected:
    void createControls() override;
    void anchorControls() override;
    void loadScreen() override;
    bool save() override;
    void discard() override;
    // After lost unsaved work: the list shown, as the database holds it.
    void reloadStored() override { load(m_shownType); }
    void deleteCurrent() override;

    // Grid shape beyond columns, headers and fixed counts: combos, numeric columns.
    virtual void configureGrid() {}
    // Fills rows from the first data row on; false when a statement failed (the
    // screen has said so).
    virtual bool loadType(int type) = 0;
    // Begin and end of an in-cell edit of a type-0 row (the tag is not empty). The end
    // handler has the cell's old text; it decides what stays.
    virtual void beginCellEdit(int /*row*/, int /*col*/) {}
    virtual void endCellEdit(int row, int col, const QString& oldText) = 0;
    // The writes of "保存" for the type-0 rows; runs inside one savepoint, so a failure
    // keeps nothing of the save. message: a refusal the screen words itself.
    virtual bool writeSave(QString& error, QString& message) = 0;
    // The writes of "删除" for a row with a tag. Empty default: only the grid row goes.
    virtual bool writeDelete(int /*row*/, const QString& /*tag*/, QString& /*error*/) { return true; }
    virtual bool deleteWrites() const { return true; }

    // Helpers for the screens.
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    void lock(int row, int col, bool locked = true);
    void unlock(int row, int col) { lock(row, col, false); }
    // Every column of the row locked but those listed.
    void lockAllBut(int row, const QList<int>& editable);
    // Rows of the grid: the header rows plus n data rows, empty.
    void resetRows(int dataRows);
    int firstDataRow() const { return m_def.fixedRows; }
    // Shows the load failure "text" with caption "错误".
    void loadFailed(const QString& text);
    // A statement's rows, each a list of its fields' texts (NULL as empty); false on failure.
    bool query(const QString& sql, QVector<QStringList>& rows);
    // Runs a statement without rows (the deletes) on the screen's connection.
    bool execute(const QString& sql, QString& error);
    // The error of a failed recordset operation, for writeSave and writeDelete.
    static bool failed(const class CDbRecordset& rs, QString& error);

private:
    void onBeginEdit(int row, int col);
    void onEndEdit(int row, int col);
    void updateDateCaption();
    bool load(int type);

    Definition m_def;
    QComboBox* m_type = nullptr;
    QLabel* m_typeLabel = nullptr;
    QLabel* m_dateLabel = nullptr;
    QDateEdit* m_from = nullptr;
    QLabel* m_toLabel = nullptr;
    QDateEdit* m_to = nullptr;
    QPushButton* m_refresh = nullptr;
    int m_shownType = 0;
    QString m_oldText;
    bool m_editing = false;
};
