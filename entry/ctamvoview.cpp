#include "ctamvoview.h"

#include "dbrecordset.h"
#include "entryrules.h"

#include <QLabel>

namespace {
const QStringList& kHeaders = ArchiveBook::headers();
} // namespace

CTamvoView::CTamvoView(QWidget* parent)
    : CGridScreen(kCommandId, 1, parent)
{
    setTitle(QStringLiteral("输入种猪记录"));
    setCloseCaption(QStringLiteral("种猪档案"));
    setOffers(OfferEntry);
    setAddRowCount(5);
    setFindPrompt(QStringLiteral("输入您要查找的种猪耳号:"));
    connect(grid(), &CGridCtrl::beginEdit, this, &CTamvoView::onBeginEdit);
    connect(grid(), &CGridCtrl::endEdit, this, &CTamvoView::onEndEdit);
    // A card saved anywhere (here, or a disposal in another window) may change the count.
    connect(CScreenEvents::instance(), &CScreenEvents::saved, this, [this] { refreshSummary(); });
}

void CTamvoView::refreshSummary()
{
    int total = 0, sows = 0, boars = 0;
    if (m_book && m_info.text && m_book->count(&total, &sows, &boars))
        m_info.text->setText(ArchiveBook::summaryText(total, sows, boars));
}

CTamvoView::~CTamvoView() = default;

void CTamvoView::createControls()
{
    setTemplateSize(QSize(800, 380));
    m_info = EntryScreen::createInfoLine(this, grid());
}

void CTamvoView::anchorControls()
{
    EntryScreen::anchorInfoLine(this, grid(), m_info);
}

QString CTamvoView::summaryText() const
{
    return m_info.text ? m_info.text->text() : QString();
}

void CTamvoView::loadScreen()
{
    m_book = std::make_unique<ArchiveBook>(connection(), [this] { return beginWrite(); });
    CComboGridCtrl* g = grid();
    g->SetRowCount(1);
    g->SetColumnCount(kHeaders.size());
    g->SetFixedRowCount(1);
    g->SetFixedColumnCount(2);
    g->SetFixedColumnsEditable(true); // the ear tag stays in view and is typed there
    EntryScreen::setHeaders(g, 0, kHeaders);
    g->AddComboColumn(2, {QStringLiteral("M"), QStringLiteral("F")});
    g->AddComboColumn(3, EntryRules::pickList(connection(), QStringLiteral("select 毛色 from 毛色表")));
    g->AddComboColumn(4, EntryRules::pickList(connection(), QStringLiteral("select 来源 from 来源")));
    for (int c : {5, 6, 7, 8, 11})
        g->ADDNumColumn(c);
    load();
    g->AutoSize();
}

void CTamvoView::load()
{
    QVector<QStringList> cards;
    int sows = 0, boars = 0;
    if (!m_book->load(cards, &sows, &boars)) {
        AppMessageBox(QStringLiteral("打开数据库错误"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
        return;
    }
    CComboGridCtrl* g = grid();
    g->SetRowCount(cards.size() + 1);
    for (int i = 0; i < cards.size(); ++i) {
        g->SetItemText(i + 1, 0, QString::number(i + 1));
        for (int f = 0; f < cards.at(i).size(); ++f)
            g->SetItemText(i + 1, f + 1, cards.at(i).at(f));
    }
    m_info.text->setText(ArchiveBook::summaryText(cards.size(), sows, boars));
}

void CTamvoView::onBeginEdit(int row, int col)
{
    if (col == ArchiveBook::kEarTagColumn)
        m_oldTag = grid()->GetItemText(row, col);
    else
        m_oldText = grid()->GetItemText(row, col);
}

void CTamvoView::onEndEdit(int row, int col)
{
    const QString text = grid()->GetItemText(row, col);
    if (col != ArchiveBook::kEarTagColumn && text == m_oldText)
        return;
    const EditOutcome o = col == ArchiveBook::kEarTagColumn
                              ? m_book->editEarTag(m_oldTag, text)
                              : m_book->editField(col, grid()->GetItemText(row, ArchiveBook::kEarTagColumn), m_oldText, text);
    if (EntryScreen::apply(grid(), row, col, col == ArchiveBook::kEarTagColumn ? m_oldTag : m_oldText, o, this))
        setModified(true);
    else if (!isModified())
        rollbackWork(); // nothing kept: do not hold the database for other windows
}

void CTamvoView::deleteCurrent()
{
    const int row = grid()->GetFocusCell().row;
    if (row < grid()->GetFixedRowCount())
        return;
    const QString tag = grid()->GetItemText(row, ArchiveBook::kEarTagColumn);
    if (!tag.isEmpty()) {
        QString message;
        if (!m_book->deletePig(tag, &message)) {
            if (!message.isEmpty())
                AppMessageBox(message, QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
            if (!isModified())
                rollbackWork();
            return;
        }
        setModified(true);
    }
    grid()->DeleteRow(row);
    grid()->Refresh();
}
