#pragma once
#include "paramkit_global.h"

#include <QDialog>
#include <QPixmap>

// The picture dialog: shows one picture without a border; Enter and Escape do nothing,
// only a left click on the picture closes it.
class PARAMKIT_EXPORT CFlash : public QDialog
{
    Q_OBJECT
public:
    enum { IDD = 12004 };
    explicit CFlash(const QPixmap& picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap m_picture;
};
