#include "gridscreen.h"
#include "appmessage.h"
#include "cfinddlg.h"
#include "cnumberdlg.h"
#include "gridprinter.h"
#include "screenregistry.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {
// The shared commands, by the ids of the menus and the tool bar.
enum : int {
    IdSave = 32777, IdCut = 32778, IdCopy = 32779, IdPaste = 32780, IdInsert = 32781, IdDelete = 32782,
    IdAdd = 32783, IdFind = 32784, IdHorzLines = 32790, IdVertLines = 32791, IdRowResize = 32792,
    IdColResize = 32793, IdFreezeCols = 32795, IdFreezeRows = 32796, IdPrint = 57607, IdPrintDirect = 57608,
    IdPrintPreview = 57609,
};

QString& defaultPath()
{
    static QString p;
    return p;
}

bool clipboardHasText()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && mime->hasText();
}
} // namespace

CScreenEvents* CScreenEvents::instance()
{
    static CScreenEvents events;
    return &events;
}

CGridScreen::CGridScreen(int commandId, int module, QWidget* parent)
    : CResizableFormView(parent)
    , m_commandId(commandId)
    , m_module(module)
    , m_grid(new CComboGridCtrl(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
}

CGridScreen::~CGridScreen()
{
    // The screen's own parts are gone already: an editor still open is dropped without
    // telling anyone, and the grid says nothing more to the screen's slots.
    m_grid->CloseEditors(false);
    m_grid->blockSignals(true);
    m_connection.SetTransactionLostHandler({});
    // An unanswered transaction is never kept: closing the connection rolls it back.
    if (m_findDlg)
        delete m_findDlg;
}

void CGridScreen::setDefaultDatabasePath(const QString& path)
{
    defaultPath() = path;
}

QString CGridScreen::defaultDatabasePath()
{
    return defaultPath();
}

QString CGridScreen::databasePath() const
{
    return m_databasePath.isEmpty() ? defaultDatabasePath() : m_databasePath;
}

void CGridScreen::setGridFlags(bool horzLines, bool vertLines, bool rowResize, bool colResize)
{
    m_horzLines = horzLines;
    m_vertLines = vertLines;
    m_rowResize = rowResize;
    m_colResize = colResize;
    applyGridFlags();
}

void CGridScreen::applyGridFlags()
{
    m_grid->SetGridLines((m_horzLines ? GVL_HORZ : 0) | (m_vertLines ? GVL_VERT : 0));
    m_grid->SetRowResize(m_rowResize);
    m_grid->SetColumnResize(m_colResize);
}

void CGridScreen::createControls()
{
    if (templateSize().isEmpty())
        setTemplateSize(QSize(640, 420));
    m_grid->setGeometry(QRect(QPoint(0, 0), templateSize()));
}

void CGridScreen::anchorControls()
{
    addAnchor(m_grid, Anchor::TopLeft, Anchor::BottomRight);
}

bool CGridScreen::initialUpdate()
{
    if (m_setUp)
        return m_connection.IsOpen();
    m_setUp = true;
    createControls();
    anchorControls();
    setWindowTitle(m_title);
    m_connection.SetOwnerName(m_title.isEmpty() ? m_closeCaption : m_title);
    if (!m_connection.Open(databasePath())) {
        AppStandardMessage(QStringLiteral("数据库连接失败!"), this);
        return false;
    }
    // A write that takes the transaction down is told once the edit that met it is over.
    m_connection.SetTransactionLostHandler([this] {
        QMetaObject::invokeMethod(this, [this] { reportLostWork(); }, Qt::QueuedConnection);
    });
    applyGridFlags();
    loadScreen();
    return true;
}

void CGridScreen::showEvent(QShowEvent* event)
{
    CResizableFormView::showEvent(event);
    if (!m_setUp)
        initialUpdate();
}

// ---- the screen's transaction ----

bool CGridScreen::beginWrite(int row, int col, const QString& restoreText)
{
    if (m_connection.TransLevel() > 0)
        return true;
    auto refuse = [&](const QString& text) {
        if (row >= 0 && col >= 0)
            m_grid->SetItemText(row, col, restoreText);
        AppMessageBox(text, QStringLiteral("警告"), MsgIcon::Warning);
        return false;
    };
    if (m_connection.IsReadOnly())
        return refuse(QStringLiteral("数据库文件只能读取(只读的文件夹、光盘或损坏的文件)，修改不能保存。"));
    const QString holder = m_connection.OtherWriteLockHolder();
    if (!holder.isEmpty())
        return refuse(QStringLiteral("窗口“%1”有尚未保存的修改，正占用数据库。\n请先在那个窗口保存或关闭它，再修改这里的数据。").arg(holder));
    if (m_connection.BeginTrans() < 0) {
        if (m_connection.LastErrorWasBusy())
            return refuse(QStringLiteral("数据库正被另一个程序修改，这里的修改没有保存。\n请稍后再试。"));
        return refuse(QStringLiteral("数据库拒绝了这次修改，记录没有保存。\n\n") + m_connection.LastError());
    }
    return true;
}

bool CGridScreen::commitWork()
{
    if (m_connection.TransLevel() == 0) {
        if (!m_connection.TransactionLost())
            return true;
        reportLostWork();
        return false;
    }
    if (m_connection.CommitTrans())
        return true;
    const QString error = m_connection.LastError();
    if (m_connection.TransactionLost()) {
        reportLostWork(error);
        return false;
    }
    // The transaction is still open (a lock, say): the changes stay pending for another try.
    AppMessageBox(QStringLiteral("保存失败：%1").arg(error), QStringLiteral("错误"), MsgIcon::Stop);
    return false;
}

bool CGridScreen::rollbackWork()
{
    if (m_connection.TransLevel() == 0) {
        m_connection.TakeTransactionLost(); // nothing to keep either way
        return true;
    }
    if (m_connection.RollbackTrans())
        return true;
    m_connection.TakeTransactionLost();
    return m_connection.TransLevel() == 0;
}

void CGridScreen::reportLostWork(const QString& error)
{
    if (!m_connection.TakeTransactionLost())
        return;
    QString text = QStringLiteral("数据库出错，尚未保存的修改没有存入数据库。\n窗口重新显示数据库中保存的记录。");
    if (!error.isEmpty())
        text = QStringLiteral("保存失败：%1\n\n").arg(error) + text;
    AppMessageBox(text, QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
    m_modified = false;
    reloadStored();
}

bool CGridScreen::save()
{
    return commitWork();
}

void CGridScreen::discard()
{
    rollbackWork();
}

bool CGridScreen::queryClose()
{
    // A cell still being typed in is ended as leaving it would end it, so its text is
    // stored (or refused) before the question.
    m_grid->CloseEditors(true);
    if (!m_modified) {
        rollbackWork();
        return true;
    }
    const MsgAnswer answer = AppMessageBox(QStringLiteral("记录已经修改，要保存吗？"), m_closeCaption, MsgIcon::Warning,
                                           MsgButtons::YesNo, this);
    if (answer == MsgAnswer::Yes) {
        // A save the database refuses keeps the screen open rather than lose the work.
        if (!save())
            return false;
        emit CScreenEvents::instance()->saved(this);
    } else {
        discard();
    }
    m_modified = false;
    return true;
}

// ---- commands ----

bool CGridScreen::hasDataRowFocus() const
{
    const CCellID f = m_grid->GetFocusCell();
    return f.IsValid() && f.row >= m_grid->GetFixedRowCount() && f.row < m_grid->GetRowCount();
}

bool CGridScreen::commandEnabled(int id, bool* checked) const
{
    if (checked)
        *checked = false;
    const auto offered = [this](unsigned o) { return (m_offers & o) != 0; };
    switch (id) {
    case IdSave:
        return offered(OfferSave) && m_modified;
    case IdDelete:
        return offered(OfferDelete) && hasDataRowFocus();
    case IdCut:
        return offered(OfferCut) && hasDataRowFocus();
    case IdCopy:
        return offered(OfferCopy) && (m_copyRule == CopyRule::Always || hasDataRowFocus());
    case IdPaste:
        return offered(OfferPaste) && hasDataRowFocus() && m_grid->IsEditable() && clipboardHasText();
    case IdInsert:
        return offered(OfferInsert) && hasDataRowFocus();
    case IdAdd:
        return offered(OfferAdd);
    case IdFind:
        return offered(OfferFind);
    case IdFreezeCols:
    case IdFreezeRows:
        return offered(OfferFreeze);
    case IdHorzLines:
    case IdVertLines:
        if (checked)
            *checked = id == IdHorzLines ? m_horzLines : m_vertLines;
        return offered(OfferLines);
    case IdRowResize:
    case IdColResize:
        if (checked)
            *checked = id == IdRowResize ? m_rowResize : m_colResize;
        return offered(OfferResize);
    case IdPrint:
    case IdPrintDirect:
    case IdPrintPreview:
        return offered(OfferPrint);
    default:
        return false;
    }
}

bool CGridScreen::runCommand(int id)
{
    bool checked = false;
    if (!commandEnabled(id, &checked))
        return false;
    switch (id) {
    case IdSave:
        if (save()) {
            m_modified = false;
            emit CScreenEvents::instance()->saved(this);
        }
        return true;
    case IdDelete:
        deleteCurrent();
        return true;
    case IdCut:
        m_grid->OnEditCut();
        return true;
    case IdCopy:
        m_grid->OnEditCopy();
        return true;
    case IdPaste:
        m_grid->OnEditPaste();
        return true;
    case IdInsert:
        insertRowAtFocus();
        return true;
    case IdAdd:
        addRows();
        return true;
    case IdFind:
        showFindDialog();
        return true;
    case IdFreezeCols:
        freeze(true);
        return true;
    case IdFreezeRows:
        freeze(false);
        return true;
    case IdHorzLines:
        m_horzLines = !m_horzLines;
        applyGridFlags();
        return true;
    case IdVertLines:
        m_vertLines = !m_vertLines;
        applyGridFlags();
        return true;
    case IdRowResize:
        m_rowResize = !m_rowResize;
        applyGridFlags();
        return true;
    case IdColResize:
        m_colResize = !m_colResize;
        applyGridFlags();
        return true;
    case IdPrint:
        printGrid(PrintService::Mode::Dialog);
        return true;
    case IdPrintDirect:
        printGrid(PrintService::Mode::Direct);
        return true;
    case IdPrintPreview:
        printGrid(PrintService::Mode::Preview);
        return true;
    default:
        return false;
    }
}

void CGridScreen::insertRowAtFocus()
{
    const CCellID f = m_grid->GetFocusCell();
    if (!hasDataRowFocus())
        return;
    m_grid->InsertRow(QStringLiteral("*"), f.row);
    m_grid->SetFocusCell(f.row, f.col);
    m_grid->Refresh();
}

void CGridScreen::addRows()
{
    // The new rows come into view with the cursor on the first one's ear tag, ready
    // for typing.
    const int first = m_grid->GetRowCount();
    m_grid->SetRowCount(first + m_addRows);
    m_grid->EnsureVisible(m_grid->GetRowCount() - 1, 1);
    m_grid->EnsureVisible(first, 1);
    m_grid->SetFocusCell(first, 1);
    m_grid->SetSelectedRange(first, 1, first, 1);
    m_grid->setFocus();
}

void CGridScreen::freeze(bool columns)
{
    NumberRequest request;
    request.prompt = columns ? QStringLiteral("设置冻结的列数") : QStringLiteral("设置冻结的行数");
    request.value = columns ? m_grid->GetFixedColumnCount() : m_grid->GetFixedRowCount();
    const std::optional<int> n = CNumberDlg::askNumber(request, this);
    if (!n || *n < 0)
        return;
    // More than the grid has freezes all of it; the grid does not grow for it.
    if (columns)
        m_grid->SetFixedColumnCount(std::min(*n, m_grid->GetColumnCount()));
    else
        m_grid->SetFixedRowCount(std::min(*n, m_grid->GetRowCount()));
}

void CGridScreen::showFindDialog()
{
    if (!m_findDlg) {
        m_findDlg = new CFindDlg(window());
        m_findDlg->setPrompt(m_findPrompt);
        connect(m_findDlg, &CFindDlg::findRequested, this, &CGridScreen::findText);
    }
    m_findDlg->show();
    m_findDlg->raise();
    m_findDlg->activateWindow();
    m_findPos = 1;
}

void CGridScreen::findText(bool down, const QString& text)
{
    if (text.isEmpty())
        return;
    m_grid->setFocus();
    const int rows = m_grid->GetRowCount();
    int match = -1;
    if (down) {
        if (!(m_findPos < rows))
            m_findPos = 1;
        for (int r = m_findPos; r < rows && match < 0; ++r)
            if (m_grid->GetItemText(r, 1).contains(text))
                match = r;
    } else {
        if (m_findPos < 2)
            m_findPos = rows - 1;
        for (int r = m_findPos; r >= 1 && match < 0; --r)
            if (m_grid->GetItemText(r, 1).contains(text))
                match = r;
    }
    // Part of a tag (its last digits, say) is enough; finding nothing is said.
    if (match < 0) {
        AppMessageBox(QStringLiteral("没有找到"), QStringLiteral("提示"), MsgIcon::Information, MsgButtons::Ok, this);
        return;
    }
    m_grid->EnsureVisible(match, 1);
    m_grid->SetSelectedRange(match, m_grid->GetFixedColumnCount(), match, m_grid->GetColumnCount() - 1);
    m_findPos = down ? match + 1 : match - 1;
}

namespace {
// Gives a grid without a heading of its own the screen's heading while it prints.
class DefaultHeading
{
public:
    DefaultHeading(CGridCtrl* grid, const QString& title, const QString& details)
        : m_grid(grid)
        , m_set(grid->GetPrintHead1().isEmpty() && grid->GetPrintHead2().isEmpty())
    {
        if (!m_set)
            return;
        QString sub = PrintService::ownerName() + QStringLiteral("    ") + CGridPrinter::printDateText();
        if (!details.isEmpty())
            sub += QLatin1Char('\n') + details;
        m_grid->SetPrintHead(title, sub);
    }
    ~DefaultHeading()
    {
        if (m_set)
            m_grid->SetPrintHead(QString(), QString());
    }

private:
    CGridCtrl* m_grid;
    bool m_set;
};
} // namespace

QString CGridScreen::printTitle() const
{
    // The menu caption names the screen as the staff know it.
    const ScreenEntry* entry = ScreenRegistry::find(m_commandId);
    if (entry && !entry->caption.isEmpty())
        return entry->caption;
    return m_title.isEmpty() ? m_closeCaption : m_title;
}

void CGridScreen::printGrid(PrintService::Mode mode)
{
    DefaultHeading heading(m_grid, printTitle(), printDetails());
    CGridPrinter::print(m_grid, mode, this);
}

// ---- export ----

bool CGridScreen::exportSetUp(const QString& databasePath)
{
    setDatabasePath(databasePath);
    return initialUpdate();
}

bool CGridScreen::exportPdf(const QString& path)
{
    if (!(m_offers & OfferPrint))
        return false;
    DefaultHeading heading(m_grid, printTitle(), printDetails());
    return CGridPrinter::printToPdf(m_grid, path);
}
