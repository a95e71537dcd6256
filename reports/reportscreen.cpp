#include "reportscreen.h"
#include "appclock.h"
#include "appmessage.h"
#include "dbrecordset.h"
#include "reportgrid.h"
#include "reportheading.h"
#include "textutil.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
// Shows the wait cursor and keeps "分析" disabled while a report is built.
class BusyGuard
{
public:
    explicit BusyGuard(QPushButton* button)
        : m_button(button)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_button->setEnabled(false);
    }
    ~BusyGuard()
    {
        m_button->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }

private:
    QPushButton* m_button;
};
} // namespace

CBReportScreen::CBReportScreen(int commandId, QWidget* parent)
    : CGridScreen(commandId, 5, parent)
{
    setOffers(OfferFind | OfferGrid | OfferPrint | OfferCopy);
    setCopyRule(CopyRule::Always);
    setGridFlags(true, true, true, true);
}

void CBReportScreen::createControls()
{
    setTemplateSize(QSize(600, 390));
    m_choiceBox = new QGroupBox(this);
    m_choiceBox->setGeometry(8, 4, 300, 72);
    m_byBreed = new QRadioButton(QStringLiteral("品种"), this);
    m_byBreed->setGeometry(18, 20, 60, 22);
    m_byEarTag = new QRadioButton(QStringLiteral("耳号"), this);
    m_byEarTag->setGeometry(18, 46, 60, 22);
    m_breed = new QComboBox(this);
    m_breed->setEditable(true);
    m_breed->setInsertPolicy(QComboBox::NoInsert);
    m_breed->setGeometry(84, 20, 210, 24);
    m_earTag = new QComboBox(this);
    m_earTag->setEditable(true);
    m_earTag->setInsertPolicy(QComboBox::NoInsert);
    m_earTag->setGeometry(84, 46, 210, 24);
    // Ear tags are kept in upper case; what is typed follows.
    connect(m_earTag->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int pos = m_earTag->lineEdit()->cursorPosition();
            m_earTag->lineEdit()->setText(upper);
            m_earTag->lineEdit()->setCursorPosition(pos);
        }
    });
    m_dateBox = new QGroupBox(this);
    m_dateBox->setGeometry(316, 4, 196, 72);
    m_startLabel = new QLabel(QStringLiteral("起始时间"), this);
    m_startLabel->setGeometry(326, 20, 60, 22);
    m_endLabel = new QLabel(QStringLiteral("中止时间"), this);
    m_endLabel->setGeometry(326, 46, 60, 22);
    const QDate today = AppClock::today();
    m_start = new QDateEdit(today.addYears(-1), this); // 29 February falls back to the 28th
    m_end = new QDateEdit(today, this);
    for (QDateEdit* d : {m_start, m_end}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    m_start->setGeometry(390, 20, 114, 24);
    m_end->setGeometry(390, 46, 114, 24);
    m_analyse = new QPushButton(QStringLiteral("分析"), this);
    m_analyse->setGeometry(522, 30, 70, 28);
    grid()->setGeometry(0, 84, 600, 306);

    connect(m_byBreed, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            setMode(Mode::Breed);
    });
    connect(m_byEarTag, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            setMode(Mode::EarTag);
    });
    connect(m_analyse, &QPushButton::clicked, this, [this] { analyse(); });
    applyMode();
}

void CBReportScreen::anchorControls()
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_choiceBox, m_byBreed, m_byEarTag, m_breed, m_earTag, m_dateBox,
                                                      m_startLabel, m_endLabel, m_start, m_end, m_analyse})
        addAnchor(w, Anchor::TopLeft, Anchor::TopLeft);
    addAnchor(grid(), Anchor::TopLeft, Anchor::BottomRight);
}

void CBReportScreen::loadScreen()
{
    m_breed->clear();
    m_breed->addItems(ReportHeading::breedChoices(connection()));
    m_breed->setCurrentIndex(m_breed->count() - 1);
    m_earTag->clear();
    CDbRecordset rs(&connection());
    if (rs.Open(QStringLiteral("select distinct 母猪耳号 from 配种 where 母猪耳号 is not null order by 母猪耳号"))) {
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            QString tag;
            rs.GetFieldText(0, tag);
            m_earTag->addItem(tag);
        }
    }
    m_earTag->setEditText(QString());
    shapeGrid();
    grid()->AutoSize();
}

void CBReportScreen::setMode(Mode mode)
{
    m_mode = mode;
    applyMode();
}

void CBReportScreen::applyMode()
{
    if (!m_byBreed)
        return;
    const QSignalBlocker b1(m_byBreed), b2(m_byEarTag);
    m_byBreed->setChecked(m_mode == Mode::Breed);
    m_byEarTag->setChecked(m_mode == Mode::EarTag);
    m_breed->setEnabled(m_mode == Mode::Breed);
    m_earTag->setEnabled(m_mode == Mode::EarTag);
}

void CBReportScreen::setBreedText(const QString& text)
{
    m_breed->setEditText(text);
}

void CBReportScreen::setEarTagText(const QString& text)
{
    m_earTag->setEditText(text.toUpper());
}

void CBReportScreen::setStartDate(const QDate& date)
{
    m_start->setDate(date);
}

void CBReportScreen::setEndDate(const QDate& date)
{
    m_end->setDate(date);
}

QDate CBReportScreen::startDate() const
{
    return m_start->date();
}

QDate CBReportScreen::endDate() const
{
    return m_end->date();
}

QString CBReportScreen::earTagCondition(const Selection& sel, const QString& column)
{
    const bool all = sel.mode == Mode::Breed && sel.text.size() != 2;
    if (all)
        return QString();
    return column + QStringLiteral(" like '") + TextUtil::sqlEscape(sel.text) + QStringLiteral("%%'");
}

QString CBReportScreen::selectionText(const Selection& sel)
{
    if (sel.mode == Mode::EarTag)
        return QStringLiteral("耳号似") + sel.text;
    if (sel.text.size() == 2)
        return QStringLiteral("品种:") + sel.text;
    return ReportHeading::allBreeds();
}

bool CBReportScreen::analyse()
{
    if (!isConnected())
        return false;
    Selection sel;
    sel.mode = m_mode;
    if (m_mode == Mode::Breed) {
        sel.text = m_breed->currentText();
        if (sel.text.size() < 2) {
            AppMessageBox(QStringLiteral("品种选择错误"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
            return false;
        }
    } else {
        sel.text = m_earTag->currentText().trimmed().toUpper();
        if (sel.text.isEmpty()) {
            AppMessageBox(QStringLiteral("母猪耳号错误\n至少填入你要输出的耳号前面部分"), QStringLiteral("错误"), MsgIcon::Stop,
                          MsgButtons::Ok, this);
            return false;
        }
    }
    BusyGuard busy(m_analyse);
    sel.start = TextUtil::dateText(m_start->date());
    sel.end = TextUtil::dateText(m_end->date());
    grid()->SetPrintHead(ReportHeading::ownerName(), reportTitle(sel));
    fillReport(sel);
    grid()->AutoSize();
    ReportGrid::padColumns(grid());
    return true;
}

bool CBReportScreen::exportSetBreed(const QString& codeOrAll)
{
    setMode(Mode::Breed);
    setBreedText(codeOrAll);
    return true;
}

bool CBReportScreen::exportSetEarTag(const QString& text)
{
    setMode(Mode::EarTag);
    setEarTagText(text);
    return true;
}

bool CBReportScreen::exportSetFrom(const QDate& date)
{
    setStartDate(date);
    return true;
}

bool CBReportScreen::exportSetTo(const QDate& date)
{
    setEndDate(date);
    return true;
}
