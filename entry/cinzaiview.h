#pragma once
#include "gridscreen.h"
#include "litterbook.h"

#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;

// 产仔记录: one litter piglet by piglet. The side panel picks a sow and parity and shows
// the mating of the litter; the grid lists its piglets and those it fosters in. Edits
// stay in the grid until "保存" writes the litter.
class CInZaiView : public CGridScreen
{
    Q_OBJECT
public:
    explicit CInZaiView(QWidget* parent = nullptr);
    ~CInZaiView() override;

    static constexpr int kCommandId = 32773;

    // Where the farm and sub-farm numbers of new piglet tags come from (the application
    // sets it; "AAAA" and "1" until then).
    using FarmNumbers = std::function<QPair<QString, QString>()>;
    static void setFarmNumberSource(FarmNumbers source);

    // The panel's entry points, as its controls use them.
    void chooseSow(const QString& sow);       // the sow combo loses focus
    void chooseParity(const QString& parity); // the parity combo loses focus or is picked
    void typeFarrowDate(const QString& text); // each change of the farrowing date
    void chooseKeeper(const QString& keeper);

    LitterBook::Panel panel() const;
    QStringList parityChoices() const;

    // The exporter's inputs: --sow picks the sow (her latest parity unless --type names
    // one), --type the parity.
    bool exportSetSow(const QString& earTag) override;
    bool exportSetType(int parity) override;

protected:
    void createControls() override;
    void anchorControls() override;
    void loadScreen() override;
    bool save() override;
    void discard() override;
    void reloadStored() override;
    void deleteCurrent() override;
    QString printDetails() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Meta {
        bool fosteredIn = false;
        QString storedTag;
        QString ownFarrowDate;
    };
    void onBeginEdit(int row, int col);
    void onEndEdit(int row, int col);
    LitterBook::Piglet pigletAt(int row) const;
    void showPiglet(int row, const LitterBook::Piglet& p);
    void colourRow(int row);
    void resetGrid(int rows);
    void sizeColumns();
    void setFarrowEditable(bool editable);
    void clearPanel();
    bool askBeforeLeavingLitter();
    bool exportLoad();

    std::unique_ptr<LitterBook> m_book;
    QVector<Meta> m_meta; // one per grid row, kept in step with the grid's rows
    QGroupBox* m_group = nullptr;
    QComboBox* m_sow = nullptr;
    QComboBox* m_parity = nullptr;
    QLineEdit* m_boar = nullptr;
    QLineEdit* m_method = nullptr;
    QLineEdit* m_matingDay = nullptr;
    QLineEdit* m_due = nullptr;
    QLineEdit* m_farrow = nullptr;
    QLineEdit* m_litter = nullptr;
    QLineEdit* m_gestation = nullptr;
    QComboBox* m_keeper = nullptr;
    QString m_loadedSow;
    QString m_loadedParity;
    QString m_oldText;
    bool m_panelStored = false;
    QString m_exportSow;
    QString m_exportParity;
};
