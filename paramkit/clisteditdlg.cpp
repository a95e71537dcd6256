#include "clisteditdlg.h"

#include "csortlistctrl.h"
#include "pkmessage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CListEditDlg::CListEditDlg(int templateId, int capacity, bool withName, QWidget* parent)
    : QDialog(parent)
    , m_templateId(templateId)
    , m_capacity(capacity)
    , m_list(new CSortListCtrl(this, IDC_LIST))
    , m_codeEdit(new QLineEdit(this))
    , m_codeLabel(new QLabel(this))
    , m_add(new QPushButton(QStringLiteral("增加"), this))
    , m_delete(new QPushButton(QStringLiteral("删除"), this))
    , m_modify(new QPushButton(QStringLiteral("修改"), this))
    , m_confirm(new QPushButton(QStringLiteral("确定"), this))
    , m_cancelEdit(new QPushButton(QStringLiteral("取消"), this))
    , m_save(new QPushButton(QStringLiteral("保存并退出"), this))
    , m_quit(new QPushButton(QStringLiteral("不保存退出"), this))
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_list->setMinimumSize(260, 280);
    m_codeEdit->setReadOnly(true);
    m_controls = {{IDC_LIST, m_list},       {IDC_EDIT_CODE, m_codeEdit}, {IDC_ADD, m_add},
                  {IDC_DELETE, m_delete},   {IDC_MODIFY, m_modify},      {IDC_CONFIRM, m_confirm},
                  {IDC_CANCEL_EDIT, m_cancelEdit}, {IDC_LABEL, m_codeLabel}};

    auto* fields = new QGridLayout;
    fields->addWidget(m_codeLabel, 0, 0);
    fields->addWidget(m_codeEdit, 0, 1);
    if (withName) {
        m_nameEdit = new QLineEdit(this);
        m_nameEdit->setReadOnly(true);
        m_nameLabel = new QLabel(this);
        m_controls.insert(IDC_EDIT_NAME, m_nameEdit);
        fields->addWidget(m_nameLabel, 1, 0);
        fields->addWidget(m_nameEdit, 1, 1);
    }
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(m_add);
    listButtons->addWidget(m_delete);
    listButtons->addWidget(m_modify);
    auto* editButtons = new QHBoxLayout;
    editButtons->addStretch();
    editButtons->addWidget(m_confirm);
    editButtons->addWidget(m_cancelEdit);
    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addLayout(editButtons);
    right->addStretch();
    right->addLayout(listButtons);
    auto* body = new QHBoxLayout;
    body->addWidget(m_list, 1);
    body->addLayout(right);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_save);
    bottom->addWidget(m_quit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);

    for (QPushButton* b : {m_add, m_delete, m_modify, m_confirm, m_cancelEdit, m_save, m_quit})
        b->setAutoDefault(false);
    connect(m_list, &CSortListCtrl::rowActivated, this, &CListEditDlg::OnClickList);
    connect(m_add, &QPushButton::clicked, this, &CListEditDlg::OnAdd);
    connect(m_modify, &QPushButton::clicked, this, &CListEditDlg::OnModify);
    connect(m_delete, &QPushButton::clicked, this, &CListEditDlg::OnDelete);
    connect(m_confirm, &QPushButton::clicked, this, &CListEditDlg::OnConfirm);
    connect(m_cancelEdit, &QPushButton::clicked, this, &CListEditDlg::OnCancelEdit);
    connect(m_save, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_quit, &QPushButton::clicked, this, &QDialog::reject);
}

CListEditDlg::~CListEditDlg() = default;

void CListEditDlg::setFieldLabels(const QString& code, const QString& name)
{
    m_codeLabel->setText(code);
    if (m_nameLabel)
        m_nameLabel->setText(name);
}

int CListEditDlg::entryCount() const
{
    auto* self = const_cast<CListEditDlg*>(this);
    int n = 0;
    while (n < m_capacity && !self->entryCode(n).isEmpty())
        ++n;
    return n;
}

QStringList CListEditDlg::rowTexts(int i)
{
    QStringList texts{entryCode(i)};
    if (QString* name = entryName(i))
        texts << *name;
    return texts;
}

void CListEditDlg::OnInitDialog()
{
    if (m_initialised)
        return;
    m_initialised = true;
    m_confirm->hide();
    m_cancelEdit->hide();
    m_list->SetHeadings(headings());
    m_list->LoadColumnInfo();
    const int n = entryCount();
    for (int i = 0; i < n; ++i)
        m_list->AddItem(rowTexts(i));
}

void CListEditDlg::showEvent(QShowEvent* event)
{
    OnInitDialog();
    QDialog::showEvent(event);
}

void CListEditDlg::done(int result)
{
    if (m_initialised)
        m_list->SaveColumnInfo();
    QDialog::done(result);
}

void CListEditDlg::OnClickList(int row)
{
    if (m_mode != Mode::None || row < 0 || row >= m_list->GetItemCount())
        return;
    m_clickedCode = m_list->GetItemText(row, 0);
    m_codeEdit->setText(m_clickedCode);
    if (hasName())
        m_nameEdit->setText(m_list->GetItemText(row, 1));
}

void CListEditDlg::setEditing(bool editing)
{
    m_add->setVisible(!editing);
    m_delete->setVisible(!editing);
    m_modify->setVisible(!editing);
    m_confirm->setVisible(editing);
    m_cancelEdit->setVisible(editing);
    m_codeEdit->setReadOnly(!editing);
    if (hasName())
        m_nameEdit->setReadOnly(!editing);
    m_list->setEnabled(!editing);
    if (editing)
        m_codeEdit->setFocus();
}

void CListEditDlg::OnAdd()
{
    // The array has a fixed number of places; say so before the user types an entry
    // that could not be kept.
    if (entryCount() >= m_capacity) {
        ParamKit::showMessage({QStringLiteral("列表已满，最多只能有%1项。\n请先删除不用的项目。").arg(m_capacity),
                               ParamKit::applicationTitle(), ParamKit::MessageKind::Notice},
                              this);
        return;
    }
    m_codeEdit->clear();
    if (hasName())
        m_nameEdit->clear();
    m_mode = Mode::Add;
    setEditing(true);
}

void CListEditDlg::OnModify()
{
    m_mode = Mode::Modify;
    setEditing(true);
}

void CListEditDlg::OnCancelEdit()
{
    m_mode = Mode::None;
    setEditing(false);
}

void CListEditDlg::OnConfirm()
{
    const QString code = m_codeEdit->text().trimmed();
    const QString name = hasName() ? m_nameEdit->text().trimmed() : QString();
    // An empty text would end the list where it stands and lose every later entry.
    if (code.isEmpty() && m_mode != Mode::None) {
        ParamKit::showMessage({QStringLiteral("%1不能为空!").arg(m_codeLabel->text().remove(QStringLiteral("：")).trimmed()),
                               ParamKit::applicationTitle(), ParamKit::MessageKind::Notice},
                              this);
        return;
    }
    const Mode mode = m_mode;
    m_mode = Mode::None;
    setEditing(false);
    const int n = entryCount();
    if (mode == Mode::Add) {
        for (int i = 0; i < n; ++i) {
            if (entryCode(i) == code) {
                ParamKit::showMessage({QStringLiteral("该品种已经存在!"), ParamKit::applicationTitle(),
                                       ParamKit::MessageKind::Notice},
                                      this);
                return;
            }
        }
        if (n >= m_capacity)
            return; // refused when "增加" was pressed
        entryCode(n) = code;
        if (QString* slot = entryName(n))
            *slot = name;
        m_list->AddItem(rowTexts(n));
        m_clickedCode = code;
    } else if (mode == Mode::Modify) {
        for (int i = 0; i < n; ++i) {
            if (entryCode(i) != m_clickedCode)
                continue;
            const int row = m_list->FindItem(m_clickedCode);
            entryCode(i) = code;
            if (QString* slot = entryName(i))
                *slot = name;
            if (row >= 0) {
                m_list->SetItemText(row, 0, code);
                if (hasName())
                    m_list->SetItemText(row, 1, name);
            }
            m_clickedCode = code;
            break;
        }
    }
}

void CListEditDlg::OnDelete()
{
    const QString code = m_codeEdit->text();
    const int n = entryCount();
    int index = -1;
    for (int i = 0; i < n && index < 0; ++i)
        if (entryCode(i) == code)
            index = i;
    if (index < 0)
        return; // nothing chosen
    if (!ParamKit::showMessage({QStringLiteral("确认要删除吗？"), QStringLiteral("删除"), ParamKit::MessageKind::Question},
                               this))
        return;
    for (int i = index; i < m_capacity - 1; ++i) {
        entryCode(i) = entryCode(i + 1);
        if (QString* slot = entryName(i))
            *slot = *entryName(i + 1);
    }
    entryCode(m_capacity - 1).clear();
    if (QString* last = entryName(m_capacity - 1))
        last->clear();
    int row = m_list->GetSelectedItem();
    if (row < 0 || m_list->GetItemText(row, 0) != code)
        row = m_list->FindItem(code);
    m_list->DeleteItem(row);
    m_clickedCode.clear();
    m_codeEdit->clear();
    if (hasName())
        m_nameEdit->clear();
}
