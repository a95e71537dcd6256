#include "printservice.h"
#include "safefile.h"

#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <memory>

namespace {
PrintService::Handler& handlerSlot()
{
    static PrintService::Handler h;
    return h;
}
PrintService::PreviewObserver& observerSlot()
{
    static PrintService::PreviewObserver o;
    return o;
}
std::function<QString()>& ownerSlot()
{
    static std::function<QString()> s;
    return s;
}
} // namespace

namespace PrintService {

void setOwnerNameSource(std::function<QString()> source)
{
    ownerSlot() = std::move(source);
}

QString ownerName()
{
    return ownerSlot() ? ownerSlot()() : QStringLiteral("XXXXXX公司");
}

void setPreviewObserver(PreviewObserver observer)
{
    observerSlot() = std::move(observer);
}

QPrinter* sharedPrinter()
{
    static std::unique_ptr<QPrinter> printer;
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    }
    return printer.get();
}

Handler setHandler(Handler handler)
{
    Handler old = handlerSlot();
    handlerSlot() = std::move(handler);
    return old;
}

void run(Mode mode, const Render& render, QWidget* parent)
{
    if (handlerSlot()) {
        handlerSlot()(mode, render);
        return;
    }
    QPrinter* printer = sharedPrinter();
    switch (mode) {
    case Mode::Dialog: {
        QPrintDialog dialog(printer, parent);
        if (dialog.exec() == QDialog::Accepted)
            render(printer);
        break;
    }
    case Mode::Direct:
        render(printer);
        break;
    case Mode::Preview: {
        QPrintPreviewDialog preview(printer, parent);
        // Large from the start, the page as wide as the window: readable at once.
        if (QScreen* screen = (parent ? parent->screen() : QGuiApplication::primaryScreen()))
            preview.setGeometry(screen->availableGeometry());
        preview.setWindowState(Qt::WindowMaximized);
        if (auto* view = preview.findChild<QPrintPreviewWidget*>())
            view->setZoomMode(QPrintPreviewWidget::FitToWidth);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&render](QPrinter* p) { render(p); });
        if (observerSlot())
            observerSlot()(true);
        preview.exec();
        if (observerSlot())
            observerSlot()(false);
        break;
    }
    }
}

namespace {
bool g_pdfWriteFailed = false;
}

bool takePdfWriteFailed()
{
    const bool failed = g_pdfWriteFailed;
    g_pdfWriteFailed = false;
    return failed;
}

bool toPdf(const Render& render, const QString& path)
{
    g_pdfWriteFailed = false;
    // Rendered aside first: the PDF writer does not report a failed write, and an
    // existing file is replaced only by a complete one (its end marker there).
    QTemporaryDir dir;
    if (!dir.isValid()) {
        g_pdfWriteFailed = true;
        return false;
    }
    const QString rendered = dir.filePath(QStringLiteral("print.pdf"));
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageLayout(sharedPrinter()->pageLayout());
    pdf.setOutputFileName(rendered);
    render(&pdf);
    QFile f(rendered);
    const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (bytes.isEmpty())
        return false; // nothing was rendered
    g_pdfWriteFailed = !bytes.trimmed().endsWith("%%EOF") || !SafeFile::writeWhole(path, bytes);
    return !g_pdfWriteFailed;
}

} // namespace PrintService
