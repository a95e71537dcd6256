#include "cparamgriddlg.h"

#include "appmessage.h"
#include "dbrecordset.h"
#include "gridctrl.h"
#include "settingslists.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {
const QString kAllBreeds = QStringLiteral("所有品种");
}

CParamGridDlg::CParamGridDlg(Mode mode, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_grid(new CComboGridCtrl(this))
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowTitle(caption(mode));
    auto* ok = new QPushButton(QStringLiteral("保存并退出"), this);
    auto* cancel = new QPushButton(QStringLiteral("不保存退出"), this);
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(mode == Mode::Targets ? 1000 : 720, 420);
    connect(ok, &QPushButton::clicked, this, &CParamGridDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &CGridCtrl::beginEdit, this, &CParamGridDlg::onBeginEdit);
    connect(m_grid, &CGridCtrl::endEdit, this, &CParamGridDlg::onEndEdit);

    const QStringList captions = columnCaptions(mode);
    m_grid->SetRowCount(1);
    m_grid->SetColumnCount(captions.size());
    m_grid->SetFixedRowCount(1);
    m_grid->SetFixedColumnCount(1);
    m_grid->SetEditable(true);
    for (int c = 0; c < captions.size(); ++c) {
        m_grid->SetItemText(0, c, captions.at(c));
        m_grid->SetItemFormat(0, c, Qt::AlignCenter | Qt::TextWordWrap);
    }
}

CParamGridDlg::~CParamGridDlg() = default;

QString CParamGridDlg::tableName(Mode mode)
{
    return mode == Mode::Physiology ? QStringLiteral("生理周期") : QStringLiteral("生产目标");
}

QString CParamGridDlg::caption(Mode mode)
{
    return mode == Mode::Physiology ? QStringLiteral("设置母猪生理参数") : QStringLiteral("设置猪场生产目标");
}

QStringList CParamGridDlg::columnCaptions(Mode mode)
{
    if (mode == Mode::Physiology)
        return {QStringLiteral("品种"), QStringLiteral("初配日龄"), QStringLiteral("妊娠天数"), QStringLiteral("哺乳天数"),
                QStringLiteral("返情后发情天数"), QStringLiteral("断奶后发情天数"), QStringLiteral("流产后发情天数")};
    return {QStringLiteral("品种"),         QStringLiteral("基础母猪数"),   QStringLiteral("年更新率"),
            QStringLiteral("年产窝数"),     QStringLiteral("产仔率"),       QStringLiteral("返情率"),
            QStringLiteral("活仔数/窝"),    QStringLiteral("死胎数/窝"),    QStringLiteral("木乃伊/窝"),
            QStringLiteral("平均出生重"),   QStringLiteral("0-1仔猪死亡数"), QStringLiteral("2-8仔猪死亡数"),
            QStringLiteral("8以上仔猪死亡数"), QStringLiteral("后备母猪数"), QStringLiteral("流产率"),
            QStringLiteral("断奶日龄"),     QStringLiteral("断奶重"),       QStringLiteral("母猪最高胎次"),
            QStringLiteral("窝最少产仔数"), QStringLiteral("配种总数"),     QStringLiteral("公猪总数")};
}

bool CParamGridDlg::isWholeNumberColumn(Mode mode, int col)
{
    // The physiology values are days, read as whole numbers by every screen. Among the
    // targets, head counts, days and parities are whole; rates, per-litter figures and
    // weights carry fractions.
    if (mode == Mode::Physiology)
        return true;
    switch (col) {
    case 1:  // 基础母猪数
    case 13: // 后备母猪数
    case 15: // 断奶日龄
    case 17: // 母猪最高胎次
    case 18: // 窝最少产仔数
    case 19: // 配种总数
    case 20: // 公猪总数
        return true;
    default:
        return false;
    }
}

bool CParamGridDlg::isValidValue(Mode mode, int col, const QString& text)
{
    if (text.isEmpty())
        return true;
    static const QRegularExpression whole(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression decimal(QStringLiteral("^([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    return (isWholeNumberColumn(mode, col) ? whole : decimal).match(text).hasMatch();
}

bool CParamGridDlg::setUp(const QString& databasePath)
{
    m_connection.SetOwnerName(caption(m_mode));
    if (!m_connection.Open(databasePath)) {
        AppStandardMessage(QStringLiteral("数据库连接失败!"), this);
        return false;
    }
    // Every breed of the breed list, then the whole farm for the targets. The list has
    // as many places as there are breeds, so none is left without a row.
    m_breeds.clear();
    CDbRecordset rs(&m_connection);
    rs.SetCursorLocation(3);
    if (rs.Open(QStringLiteral("select 品种代号 from 品种表"))) {
        for (; !rs.IsEOF(); rs.MoveNext()) {
            QString code;
            rs.GetFieldText(0, code);
            if (!code.isEmpty())
                m_breeds << code;
        }
        rs.Close();
    }
    if (m_mode == Mode::Targets)
        m_breeds << kAllBreeds;

    const int cols = m_grid->GetColumnCount();
    QVector<QStringList> records;
    if (rs.Open(QStringLiteral("select * from ") + tableName(m_mode) + QStringLiteral(" order by 品种"))) {
        for (; !rs.IsEOF(); rs.MoveNext()) {
            QStringList fields;
            for (int c = 0; c < cols; ++c) {
                QString text;
                rs.GetFieldText(c, text);
                fields << text;
            }
            records << fields;
        }
        rs.Close();
    }
    QStringList missing = m_breeds;
    for (const QStringList& record : records)
        missing.removeAll(record.value(0));
    missing.removeDuplicates();

    const int n = records.size();
    m_grid->SetRowCount(1 + n + qMax(9, int(missing.size())));
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < cols; ++c)
            m_grid->SetItemText(r + 1, c, records.at(r).value(c));
    for (int i = 0; i < missing.size(); ++i)
        m_grid->SetItemText(n + 1 + i, 0, missing.at(i));

    m_grid->AutoSize();
    const int height = m_grid->GetRowHeight(0);
    for (int r = 1; r < m_grid->GetRowCount(); ++r)
        m_grid->SetRowHeight(r, height);
    return true;
}

int CParamGridDlg::rowOf(const QString& breed) const
{
    for (int r = 1; r < m_grid->GetRowCount(); ++r)
        if (m_grid->GetItemText(r, 0) == breed)
            return r;
    return -1;
}

void CParamGridDlg::onBeginEdit(int row, int col)
{
    m_editText = m_grid->GetItemText(row, col);
}

void CParamGridDlg::onEndEdit(int row, int col)
{
    const QString text = m_grid->GetItemText(row, col).trimmed();
    if (isValidValue(m_mode, col, text)) {
        if (text != m_grid->GetItemText(row, col))
            m_grid->SetItemText(row, col, text);
        return;
    }
    m_grid->SetItemText(row, col, m_editText);
    const QString column = m_grid->GetItemText(0, col);
    AppMessageBox(isWholeNumberColumn(m_mode, col)
                      ? QStringLiteral("“%1”必须是整数，例如 114。").arg(column)
                      : QStringLiteral("“%1”必须是数字，例如 10.5。").arg(column),
                  QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
}

bool CParamGridDlg::save(QString* error)
{
    if (!m_connection.IsOpen()) {
        if (error)
            *error = SettingsLists::failureText(m_connection);
        return false;
    }
    // Work on a copy of the rows, so a failed save leaves the grid as the user made it.
    const int cols = m_grid->GetColumnCount();
    QVector<QStringList> rows;
    for (int r = 1; r < m_grid->GetRowCount(); ++r) {
        QStringList texts;
        for (int c = 0; c < cols; ++c)
            texts << m_grid->GetItemText(r, c);
        rows << texts;
    }
    auto write = [&]() {
        CDbRecordset rs(&m_connection);
        rs.SetCursorLocation(3);
        if (!rs.Open(QStringLiteral("select * from ") + tableName(m_mode) + QStringLiteral(" order by 品种")))
            return false;
        const int fields = qMin(cols, rs.GetFieldCount());
        for (; !rs.IsEOF(); rs.MoveNext()) {
            QString breed;
            rs.GetFieldText(0, breed);
            int match = -1;
            for (int i = 0; i < rows.size() && match < 0; ++i)
                if (rows.at(i).value(0) == breed)
                    match = i;
            if (match < 0)
                continue; // a record without a row stays as it is
            for (int c = 1; c < fields; ++c)
                if (!rs.SetFieldText(c, rows.at(match).value(c)))
                    return false;
            if (!rs.Update())
                return false;
            rows.removeAt(match);
        }
        for (const QStringList& row : rows) {
            if (row.value(0).isEmpty())
                continue;
            if (!rs.AddNew())
                return false;
            for (int c = 0; c < fields; ++c)
                if (!rs.SetFieldText(c, row.value(c)))
                    return false;
            if (!rs.Update())
                return false;
        }
        rs.Close();
        return true;
    };
    if (m_connection.BeginTrans() < 0) {
        if (error)
            *error = SettingsLists::failureText(m_connection);
        return false;
    }
    if (!write() || !m_connection.CommitTrans()) {
        const QString reason = SettingsLists::failureText(m_connection);
        m_connection.RollbackTrans();
        if (error)
            *error = reason;
        return false;
    }
    return true;
}

void CParamGridDlg::OnOK()
{
    QString error;
    bool stored;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        stored = !m_connection.IsOpen() || save(&error);
        QApplication::restoreOverrideCursor();
    }
    if (!stored) {
        AppMessageBox(QStringLiteral("保存失败，原来的参数没有改变。\n%1").arg(error), QStringLiteral("错误"), MsgIcon::Stop,
                      MsgButtons::Ok, this);
        return;
    }
    accept();
}
