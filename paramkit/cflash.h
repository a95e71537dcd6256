#pragma once
#include <QDialog>
#include <QPixmap>

// The picture dialog: shows one picture; a click anywhere closes it.
class CFlash : public QDialog
{
    Q_OBJECT
public:
    explicit CFlash(const QPixmap& picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    QPixmap m_picture;
};
