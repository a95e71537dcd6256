#pragma once
#include "dbconnection.h"
#include "exportable.h"
#include "gridctrl.h"
#include "printservice.h"
#include "resizableformview.h"
#include "screencommands.h"

#include <QPointer>

#include "cfinddlg.h"

// What one screen tells the others: its changes were saved (a summary elsewhere may
// count differently now).
class CScreenEvents : public QObject
{
    Q_OBJECT
public:
    static CScreenEvents* instance();
signals:
    void saved(QWidget* screen);
};

// The base of every grid screen: its own database connection, the grid (control 1001),
// the shared commands (clipboard, rows, find, freeze, lines, resizing, printing) with
// their enabling rules, the unsaved-changes question, the screen's lazy transaction,
// and what the command-line exporter needs. A screen sets in its constructor which
// commands it offers and fills loadScreen(); data-entry screens add save and discard.
class CGridScreen : public CResizableFormView, public IScreenCommands, public IExportable
{
    Q_OBJECT
public:
    enum Offer : unsigned {
        OfferCut = 0x001,
        OfferCopy = 0x002,
        OfferPaste = 0x004,
        OfferInsert = 0x008,
        OfferAdd = 0x010,
        OfferFind = 0x020,
        OfferFreeze = 0x040,
        OfferLines = 0x080,
        OfferResize = 0x100,
        OfferPrint = 0x200,
        OfferSave = 0x400,
        OfferDelete = 0x800,
        // The grid commands of the 表格 menu.
        OfferGrid = OfferFreeze | OfferLines | OfferResize,
        // Data-entry and transfer screens offer everything.
        OfferEntry = 0xFFF,
    };
    // When copy is enabled: while a data row is current, or always (lists that only read).
    enum class CopyRule { DataRow, Always };

    CGridScreen(int commandId, int module, QWidget* parent = nullptr);
    ~CGridScreen() override;

    // The herd database screens open when none is set on the screen itself; the
    // application sets it at start-up, the exporter from --database.
    static void setDefaultDatabasePath(const QString& path);
    static QString defaultDatabasePath();
    void setDatabasePath(const QString& path) { m_databasePath = path; }
    QString databasePath() const;

    // The screen's initial update, in order: controls and anchors, caption, connection
    // ("数据库连接失败!" and an empty grid when it does not open), grid settings, load.
    bool initialUpdate();
    bool isSetUp() const { return m_setUp; }
    bool isConnected() const { return m_connection.IsOpen(); }

    CComboGridCtrl* grid() const { return m_grid; }
    CDbConnection& connection() { return m_connection; }
    QString title() const { return m_title; }
    QString closeCaption() const { return m_closeCaption; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // Before the first write since set-up or the last save: opens the screen's write
    // transaction. When another window of the program holds the write lock, says which
    // one, puts restoreText back into the cell (when a cell is given) and answers false.
    bool beginWrite(int row = -1, int col = -1, const QString& restoreText = QString());
    // Commit / roll back the screen's transaction (nothing to do without one). When
    // the database has ended the transaction by itself (a commit or a write that failed
    // on a full disk or an I/O error), the screen says that its unsaved changes were not
    // stored and shows what the file holds again; commitWork then answers false.
    bool commitWork();
    bool rollbackWork();

    // Find: the window, the row the next search starts at.
    CFindDlg* findDialog() const { return m_findDlg; }
    int findPosition() const { return m_findPos; }
    void setFindPosition(int row) { m_findPos = row; }
    bool hasDataRowFocus() const;
    void printGrid(PrintService::Mode mode);
    // The printed heading's title: the screen's menu caption.
    QString printTitle() const;

    // IScreenCommands
    int screenCommandId() const override { return m_commandId; }
    int screenModule() const override { return m_module; }
    bool commandEnabled(int commandId, bool* checked) const override;
    bool runCommand(int commandId) override;
    void findText(bool down, const QString& text) override;
    bool queryClose() override;

    // IExportable
    bool exportSetUp(const QString& databasePath) override;
    CGridCtrl* exportGrid() override { return m_grid; }
    bool exportPdf(const QString& path) override;

    unsigned offers() const { return m_offers; }
    bool horizontalLines() const { return m_horzLines; }
    bool verticalLines() const { return m_vertLines; }

protected:
    // Set in the screen's constructor.
    void setTitle(const QString& title) { m_title = title; }
    void setCloseCaption(const QString& caption) { m_closeCaption = caption; }
    void setOffers(unsigned offers) { m_offers = offers; }
    void setCopyRule(CopyRule rule) { m_copyRule = rule; }
    void setAddRowCount(int rows) { m_addRows = rows; }
    void setFindPrompt(const QString& prompt) { m_findPrompt = prompt; }
    // Grid-line and resize flags as the screen starts; they last for the screen's life.
    void setGridFlags(bool horzLines, bool vertLines, bool rowResize, bool colResize);

    // Set-up steps a screen fills in. createControls places the selectors and buttons
    // and the grid (by default the grid fills the form); anchorControls registers them.
    virtual void createControls();
    virtual void anchorControls();
    // Attach recordsets, build and load the grid; runs once the connection is open.
    virtual void loadScreen() {}
    // "保存" and Yes at the close question: store the changes. The default commits.
    virtual bool save();
    // No at the close question: forget the changes. The default rolls back.
    virtual void discard();
    // "删除"; screens that offer it fill it in.
    virtual void deleteCurrent() {}
    // Shows again what the database holds, after unsaved changes were lost. The default
    // runs loadScreen() again; a screen whose loadScreen cannot run twice overrides it.
    virtual void reloadStored() { loadScreen(); }

    // Lines printed under the heading (the farrowing screen's litter); none by default.
    virtual QString printDetails() const { return QString(); }

    // A screen shown before anyone ran its set-up sets itself up first.
    void showEvent(QShowEvent* event) override;

private:
    // The database ended the screen's transaction: tell the user, show the file's state.
    void reportLostWork(const QString& error = QString());
    void applyGridFlags();
    void showFindDialog();
    void insertRowAtFocus();
    void addRows();
    void freeze(bool columns);

    int m_commandId;
    int m_module;
    QString m_databasePath;
    QString m_title;
    QString m_closeCaption;
    QString m_findPrompt = QStringLiteral("输入您要查找的种猪耳号:");
    unsigned m_offers = OfferFind | OfferGrid | OfferPrint;
    CopyRule m_copyRule = CopyRule::DataRow;
    int m_addRows = 5;
    bool m_horzLines = true;
    bool m_vertLines = true;
    bool m_rowResize = true;
    bool m_colResize = true;
    bool m_modified = false;
    bool m_setUp = false;
    int m_findPos = 1;
    CDbConnection m_connection;
    CComboGridCtrl* m_grid;
    QPointer<CFindDlg> m_findDlg;
};
