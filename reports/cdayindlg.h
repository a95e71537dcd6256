#pragma once
#include "dbconnection.h"
#include "exportable.h"

#include <QDialog>
#include <functional>

class CGridCtrl;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPushButton;

// 种猪卡打印 / 母猪卡打印: the printed record card of each chosen pig, one print job per
// card. The card is laid out in the dialog's grid (the last one stays in view): the pig
// and its three generations of ancestors as a tree from left to right, its particulars
// below, and on the sow card her litters.
class CDaYinDlg : public QDialog, public IExportable
{
    Q_OBJECT
public:
    enum class Mode { BreedingPig, Sow };

    CDaYinDlg(Mode mode, QWidget* parent = nullptr);
    ~CDaYinDlg() override;

    Mode mode() const { return m_mode; }
    // Connects (the screens' database when path is empty) and fills the list of ear tags
    // that can be chosen; "数据库连接失败!" and false when it does not open.
    bool setUp(const QString& databasePath = QString());

    // "增加": the typed ear tag must be 15 characters long ("耳号必须15位").
    bool addTypedTag();
    // Double-clicks: from the choices to the print list and back.
    void choose(const QString& earTag);
    void unchoose(const QString& earTag);
    QStringList choices() const;
    QStringList toPrint() const;

    void setLines(bool horizontal, bool vertical);
    // Lays out the card of the ear tag in the grid; false when there is no such card.
    bool layOutCard(const QString& earTag);
    // "打印": the print dialog, then one job per ear tag of the print list; those without
    // a card stay in the list and are reported. False when the print dialog was cancelled.
    bool printCards();

    CGridCtrl* card() const { return m_card; }
    QLineEdit* tagEdit() const { return m_tagEdit; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* printButton() const { return m_print; }
    QCheckBox* horizontalBox() const { return m_horz; }
    QCheckBox* verticalBox() const { return m_vert; }

    // Seams for tests and headless runs: the standard print dialog (true = print), and
    // what happens just before each card's job starts (for example, a file per job).
    using PrintDialogHandler = std::function<bool(QPrinter* printer, QWidget* parent)>;
    using JobObserver = std::function<void(QPrinter* printer, const QString& earTag)>;
    static PrintDialogHandler setPrintDialogHandler(PrintDialogHandler handler);
    static JobObserver setJobObserver(JobObserver observer);

    // IExportable: --eartag lays out that card, --pdf prints it.
    bool exportSetUp(const QString& databasePath) override { return setUp(databasePath); }
    bool exportSetEarTag(const QString& text) override;
    CGridCtrl* exportGrid() override { return m_card; }
    bool exportPdf(const QString& path) override;

private:
    void layOutLitters(const QString& earTag);
    void setControlsEnabled(bool enabled);
    void applyLines();

    Mode m_mode;
    CDbConnection m_connection;
    QListWidget* m_choices;
    QListWidget* m_toPrint;
    QLineEdit* m_tagEdit;
    QPushButton* m_add;
    QPushButton* m_print;
    QCheckBox* m_horz;
    QCheckBox* m_vert;
    CGridCtrl* m_card;
    QString m_exportTag;
};

// 32874 种猪卡打印: every card, basic information and pedigree.
class CZhongZhuKaDlg : public CDaYinDlg
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32874;
    explicit CZhongZhuKaDlg(QWidget* parent = nullptr)
        : CDaYinDlg(Mode::BreedingPig, parent)
    {
    }
    static void run(QWidget* frame);
};

// 32875 母猪卡打印: every sow with a litter, with her litter history.
class CMuZhuKaDlg : public CDaYinDlg
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32875;
    explicit CMuZhuKaDlg(QWidget* parent = nullptr)
        : CDaYinDlg(Mode::Sow, parent)
    {
    }
    static void run(QWidget* frame);
};
