#pragma once
#include "paramkit_global.h"

#include <QDialog>
#include <QHash>

class CSortListCtrl;
class QLabel;
class QLineEdit;
class QPushButton;

// The layout and behaviour every pick-list editor shares: the list on the left, one or
// two fields that open for "增加" and "修改", "确定"/"取消" for the open edit, and
// "保存并退出"/"不保存退出" at the bottom. The entries live in the subclass's fixed
// array, filled by the caller before the dialog shows and read back after OK; the
// entries in use are those before the first empty one.
class PARAMKIT_EXPORT CListEditDlg : public QDialog
{
    Q_OBJECT
public:
    enum { IDC_LIST = 12002, IDC_EDIT_CODE = 12000, IDC_EDIT_NAME = 12001, IDC_ADD = 12006,
           IDC_DELETE = 12007, IDC_MODIFY = 12008, IDC_CONFIRM = 12009, IDC_CANCEL_EDIT = 12010,
           IDC_LABEL = 12011 };
    enum class Mode { None, Add, Modify };

    ~CListEditDlg() override;

    int templateId() const { return m_templateId; }
    int capacity() const { return m_capacity; }
    // Entries before the first empty one.
    int entryCount() const;
    Mode mode() const { return m_mode; }
    QWidget* control(int id) const { return m_controls.value(id); }
    CSortListCtrl* list() const { return m_list; }
    QLineEdit* codeEdit() const { return m_codeEdit; }
    QLineEdit* nameEdit() const { return m_nameEdit; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* quitButton() const { return m_quit; }

    // The dialog's steps, as its buttons and the list run them (tests call them too).
    // OnInitDialog runs by itself the first time the dialog shows.
    void OnInitDialog();
    void OnClickList(int row);
    void OnAdd();
    void OnModify();
    void OnConfirm();
    void OnCancelEdit();
    void OnDelete();

protected:
    CListEditDlg(int templateId, int capacity, bool withName, QWidget* parent);

    // The subclass's array: the code (or the single text) and, for two-field editors,
    // the name of entry i.
    virtual QString& entryCode(int i) = 0;
    virtual QString* entryName(int /*i*/) { return nullptr; }
    // Headings given to the list, as "名称,宽度;...".
    virtual QString headings() const = 0;

    void setFieldLabels(const QString& code, const QString& name = QString());

    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void setEditing(bool editing);
    QStringList rowTexts(int i);
    bool hasName() const { return m_nameEdit != nullptr; }

    int m_templateId;
    int m_capacity;
    bool m_initialised = false;
    Mode m_mode = Mode::None;
    QString m_clickedCode;
    CSortListCtrl* m_list;
    QLineEdit* m_codeEdit;
    QLineEdit* m_nameEdit = nullptr;
    QLabel* m_codeLabel;
    QLabel* m_nameLabel = nullptr;
    QPushButton* m_add;
    QPushButton* m_delete;
    QPushButton* m_modify;
    QPushButton* m_confirm;
    QPushButton* m_cancelEdit;
    QPushButton* m_save;
    QPushButton* m_quit;
    QHash<int, QWidget*> m_controls;
};
