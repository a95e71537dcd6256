#include "analysisscreen.h"
#include "appclock.h"
#include "appmessage.h"
#include "cpie.h"
#include "textutil.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace {
constexpr int kFormWidth = 760;
constexpr int kFormHeight = 560;
constexpr int kTopBand = 44; // the inputs' row above the grid

// Restores the cursor and the button however a run ends.
struct BusyGuard {
    QPushButton* button;
    explicit BusyGuard(QPushButton* b)
        : button(b)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (button)
            button->setEnabled(false);
    }
    ~BusyGuard()
    {
        if (button)
            button->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
};

QString allBreeds()
{
    return QStringLiteral("所有品种");
}
} // namespace

AnalysisDefinition defineAnalysis(int commandId, const QString& title, const QStringList& columns)
{
    AnalysisDefinition d;
    d.commandId = commandId;
    d.title = title;
    d.columns = columns;
    return d;
}

QString AnalysisRun::likeBreed(const QString& column) const
{
    if (breed.isEmpty())
        return QString();
    return column + QStringLiteral(" like '") + TextUtil::sqlEscape(breed) + QStringLiteral("%%' and ");
}

CAnalysisScreen::CAnalysisScreen(const AnalysisDefinition& definition, QWidget* parent)
    : CGridScreen(definition.commandId, 4, parent)
    , m_def(definition)
{
    setTitle(m_def.title);
    setCloseCaption(m_def.title);
    setOffers(m_def.gridCommands ? unsigned(OfferCopy | OfferFind | OfferGrid | OfferPrint) : 0u);
    if (m_def.gridCommands)
        setCopyRule(CopyRule::Always);
}

CAnalysisScreen::~CAnalysisScreen() = default;

CChartBase* CAnalysisScreen::chartWidget() const
{
    if (m_pie)
        return m_pie;
    return m_spie;
}

// ---- set-up ----

void CAnalysisScreen::createControls()
{
    setTemplateSize(QSize(kFormWidth, kFormHeight));
    // The view may already be on screen, larger than the form, when its set-up runs: the
    // controls are placed for the size it has, so the anchors keep them there.
    const QSize form = size().expandedTo(templateSize());
    const int width = form.width();
    const int half = form.height() / 2;
    const bool chartShown = m_def.chart == ChartKind::Pie || m_def.chart == ChartKind::SPie;
    // The grid fills the upper half; without a chart to show it takes the whole form.
    grid()->setGeometry(0, kTopBand, width, (chartShown ? half : form.height()) - kTopBand);
    grid()->SetEditable(false);

    // The inputs sit in one row around the top centre.
    int x = width / 2 - 300;
    const int y = 10;
    auto place = [&](QWidget* w, int width) {
        w->setGeometry(x, y, width, 26);
        x += width + 6;
        m_topControls << w;
        w->show();
    };
    auto label = [&](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        place(l, l->sizeHint().width() + 2);
        return l;
    };
    auto dateEdit = [&]() {
        auto* d = new QDateEdit(this);
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setMinimumDate(QDate(1000, 1, 1));
        place(d, 118);
        return d;
    };
    const QDate today = AppClock::today();
    if (hasCombo()) {
        m_comboLabel = label(m_def.combo == ComboUse::Boar ? QStringLiteral("耳号：") : QStringLiteral("品种："));
        m_combo = new QComboBox(this);
        // A drop-down the user may also type into: the run checks what it holds.
        m_combo->setEditable(true);
        m_combo->setInsertPolicy(QComboBox::NoInsert);
        place(m_combo, m_def.combo == ComboUse::Boar ? 170 : 110);
        if (m_def.combo == ComboUse::Hidden) {
            m_comboLabel->hide();
            m_combo->hide();
        }
    }
    if (m_def.form == 168) {
        label(QStringLiteral("分析时间："));
        m_firstYear = new QLineEdit(QString::number(today.year() - 5), this);
        m_firstYear->setValidator(new QIntValidator(0, 9999, m_firstYear));
        place(m_firstYear, 60);
        label(QStringLiteral("到"));
        m_lastYear = new QLineEdit(QString::number(today.year()), this);
        m_lastYear->setValidator(new QIntValidator(0, 9999, m_lastYear));
        place(m_lastYear, 60);
        label(QStringLiteral("年"));
    } else if (hasOneDate()) {
        label(m_def.form == 169 ? QStringLiteral("分析时间：") : QStringLiteral("时间："));
        m_start = dateEdit();
        m_start->setDate(today);
    } else if (hasTwoDates()) {
        label(QStringLiteral("时间："));
        m_start = dateEdit();
        m_start->setDate(today.addYears(-1));
        label(QStringLiteral("到"));
        m_end = dateEdit();
        m_end->setDate(today);
    }
    m_button = new QPushButton(QStringLiteral("分析"), this);
    place(m_button, 80);
    connect(m_button, &QPushButton::clicked, this, &CAnalysisScreen::onAnalyse);

    if (m_def.chart == ChartKind::SPie)
        m_spie = new CSPie(this);
    else if (m_def.chart != ChartKind::None)
        m_pie = new CPie(this);
    if (CChartBase* c = chartWidget()) {
        c->setGeometry(0, half, width, form.height() - half);
        c->setVisible(m_def.chart != ChartKind::HiddenPie);
    }
}

void CAnalysisScreen::anchorControls()
{
    const bool chartShown = m_def.chart == ChartKind::Pie || m_def.chart == ChartKind::SPie;
    addAnchor(grid(), Anchor::TopLeft, chartShown ? Anchor::MiddleRight : Anchor::BottomRight);
    if (CChartBase* c = chartWidget())
        addAnchor(c, Anchor::MiddleLeft, Anchor::BottomRight);
    for (QWidget* w : m_topControls)
        addAnchor(w, Anchor::TopCenter, Anchor::TopCenter);
}

void CAnalysisScreen::loadScreen()
{
    fillSelection();
    if (CChartBase* c = chartWidget()) {
        const QColor face = QApplication::palette().color(QPalette::Button);
        if (m_pie)
            m_pie->SetMaxMin(0.0f, 1.0f);
        else
            m_spie->SetMaxMin(0, 1);
        c->SetBkFrColor(QColor(255, 0, 0), face);
        c->SetFontSize(11);
        c->SetShowType(m_def.chartType);
    }
    setUpGrid();
}

void CAnalysisScreen::fillSelection()
{
    if (!m_combo || m_def.combo == ComboUse::Hidden)
        return;
    if (m_def.combo == ComboUse::Breed) {
        // Pure breeds only, then the whole herd.
        m_combo->addItems(pureBreedCodes());
        m_combo->addItem(allBreeds());
        m_combo->setCurrentIndex(m_combo->count() - 1);
    } else {
        eachRow(QStringLiteral("select distinct 公猪耳号 from 配种"),
                [this](const CDbRecordset& rs) { m_combo->addItem(field(rs, 0)); });
        m_combo->setCurrentIndex(-1);
        m_combo->setEditText(QString());
    }
}

void CAnalysisScreen::setUpGrid()
{
    CComboGridCtrl* g = grid();
    g->SetColumnCount(int(m_def.columns.size()));
    g->SetRowCount(1 + int(m_def.rowLabels.size()));
    g->SetFixedRowCount(1);
    g->SetFixedColumnCount(m_def.fixedColumns);
    for (int c = 0; c < m_def.columns.size(); ++c) {
        g->SetItemText(0, c, m_def.columns[c]);
        g->SetItemFormat(0, c, GridFormat::Center | GridFormat::VCenter | GridFormat::WordBreak | GridFormat::NoPrefix);
    }
    for (int i = 0; i < m_def.rowLabels.size(); ++i) {
        if (m_def.numberRows && m_def.labelColumn != 0)
            g->SetItemText(i + 1, 0, QString::number(i + 1));
        g->SetItemText(i + 1, m_def.labelColumn, m_def.rowLabels[i]);
    }
    g->AutoSize();
}

// ---- a run ----

void CAnalysisScreen::onAnalyse()
{
    runAnalysis();
}

bool CAnalysisScreen::readInputs(AnalysisRun& run)
{
    const auto error = [this](const QString& text) {
        AppMessageBox(text, QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
        return false;
    };
    const QString selection = m_combo ? m_combo->currentText() : QString();
    if (m_combo && m_def.combo == ComboUse::Breed) {
        const int length = TextUtil::gbkLength(selection);
        if (length < 2)
            return error(QStringLiteral("品种选择错误"));
        if (length == 2)
            run.breed = selection;
    } else if (m_combo && m_def.combo == ComboUse::Boar) {
        if (TextUtil::gbkLength(selection) != 15)
            return error(QStringLiteral("公猪耳号选择错误"));
        run.boar = selection;
    }
    if (m_def.form == 168) {
        run.firstYear = m_firstYear->text().toInt();
        run.lastYear = m_lastYear->text().toInt();
        if (run.firstYear < 1000 || run.lastYear < 1000)
            return error(QStringLiteral("时间错误"));
    }
    if (m_start) {
        (hasOneDate() ? run.asOf : run.from) = m_start->date();
    }
    if (m_end)
        run.to = m_end->date();
    run.S = run.from.isValid() ? TextUtil::dateText(run.from) : QString();
    run.E = run.to.isValid() ? TextUtil::dateText(run.to) : QString();
    run.D = run.asOf.isValid() ? TextUtil::dateText(run.asOf) : QString();
    return true;
}

bool CAnalysisScreen::runAnalysis()
{
    if (!isSetUp())
        initialUpdate();
    if (!isConnected())
        return false;
    AnalysisRun run;
    if (!readInputs(run))
        return false;
    {
        BusyGuard busy(m_button);
        if (m_pie)
            m_pie->KillAll();
        if (m_spie)
            m_spie->KillAll();
        setDataRows(int(m_def.rowLabels.size()));
        analyse(run);

        CComboGridCtrl* g = grid();
        g->AutoSize();
        // Results read better with room beside them.
        for (int c = 1; c < g->GetColumnCount(); ++c)
            g->SetColumnWidth(c, g->GetColumnWidth(c) * 2);
        g->ResetScrollBars();
        if (m_pie)
            m_pie->ShowPie();
        if (m_spie)
            m_spie->ShowSPie();
        g->Refresh();
    }
    ++m_runs;
    return true;
}

// ---- reading ----

int CAnalysisScreen::count(const QString& sql)
{
    CDbRecordset rs(&connection());
    int n = 0;
    if (rs.Open(sql) && !rs.IsEOF())
        rs.GetFieldInt(0, n);
    return n;
}

int CAnalysisScreen::rowCount(const QString& sql)
{
    CDbRecordset rs(&connection());
    return rs.Open(sql) ? rs.GetRecordCount() : 0;
}

QString CAnalysisScreen::field(const CDbRecordset& rs, int index)
{
    QString text;
    rs.GetFieldText(index, text);
    return text;
}

QStringList CAnalysisScreen::pureBreedCodes()
{
    QStringList codes;
    eachRow(QStringLiteral("select 品种代号 from 品种表"), [&](const CDbRecordset& rs) {
        const QString code = field(rs, 0);
        if (code.size() >= 2 && code.at(0) == code.at(1))
            codes << code;
    });
    return codes;
}

QVector<AnalysisKit::MonthWindow> CAnalysisScreen::months(const AnalysisRun& run, AnalysisKit::MonthCut cut) const
{
    return AnalysisKit::months(run.from, run.to, cut);
}

// ---- writing ----

void CAnalysisScreen::setDataRows(int n)
{
    CComboGridCtrl* g = grid();
    const int fixedLabels = int(m_def.rowLabels.size());
    if (fixedLabels > 0) {
        // Fixed rows keep their labels; every result cell is written again by the run.
        for (int r = 1; r <= fixedLabels; ++r)
            for (int c = 0; c < g->GetColumnCount(); ++c)
                if (c != m_def.labelColumn && !(c == 0 && m_def.numberRows))
                    g->SetItemText(r, c, QString());
        return;
    }
    g->SetRowCount(1);
    g->SetRowCount(1 + n);
}

void CAnalysisScreen::setText(int row, int col, const QString& text)
{
    grid()->SetItemText(row, col, text);
}

void CAnalysisScreen::fillBins(const QStringList& labels, const QVector<int>& counts, bool signPercent)
{
    using namespace AnalysisKit;
    int total = 0;
    for (int n : counts)
        total += n;
    const int rows = int(labels.size()) + 1;
    if (grid()->GetRowCount() < rows + 1)
        grid()->SetRowCount(rows + 1);
    for (int i = 0; i <= labels.size(); ++i) {
        const bool sum = i == labels.size();
        const int n = sum ? total : counts.value(i);
        setText(i + 1, 0, QString::number(i + 1));
        setText(i + 1, 1, sum ? QStringLiteral("合计") : labels[i]);
        setText(i + 1, 2, countText(n));
        setText(i + 1, 3, signPercent ? percentSignText(n, total) : percentText(n, total));
    }
    if (m_pie)
        for (int i = 0; i < labels.size(); ++i)
            m_pie->AddVar(float(counts.value(i)), labels[i], labels[i]);
}

// ---- export ----

bool CAnalysisScreen::exportSetBreed(const QString& codeOrAll)
{
    if (!m_combo || m_def.combo != ComboUse::Breed)
        return false;
    m_combo->setEditText(codeOrAll);
    return true;
}

bool CAnalysisScreen::exportSetEarTag(const QString& text)
{
    if (!m_combo || m_def.combo != ComboUse::Boar)
        return false;
    m_combo->setEditText(text);
    return true;
}

bool CAnalysisScreen::exportSetFrom(const QDate& date)
{
    if (!hasTwoDates() || !date.isValid())
        return false;
    m_start->setDate(date);
    return true;
}

bool CAnalysisScreen::exportSetTo(const QDate& date)
{
    if (!hasTwoDates() || !date.isValid())
        return false;
    m_end->setDate(date);
    return true;
}

bool CAnalysisScreen::exportSetDate(const QDate& date)
{
    if (!hasOneDate() || !date.isValid())
        return false;
    m_start->setDate(date);
    return true;
}

bool CAnalysisScreen::exportSetYears(int first, int last)
{
    if (m_def.form != 168)
        return false;
    m_firstYear->setText(QString::number(first));
    m_lastYear->setText(QString::number(last));
    return true;
}

bool CAnalysisScreen::exportChart(const QString& pngPath)
{
    CChartBase* c = chartWidget();
    if (!c || m_def.chart == ChartKind::HiddenPie)
        return false;
    return c->saveImage(pngPath);
}
