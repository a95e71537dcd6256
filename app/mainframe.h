#pragma once
#include <QMainWindow>

class QMdiArea;

// The program's main window: the screens live as child windows of its MDI area.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdi; }

public slots:
    // A second copy of the program asked this one to show itself.
    void bringToFront();

private:
    QMdiArea* m_mdi;
};
