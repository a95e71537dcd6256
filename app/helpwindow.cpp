#include "helpwindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString readPage(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

QString plainText(const QString& html)
{
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText();
}

// A heading's own anchor when it has one, else a made-up one that the page gets
// when it is shown (QTextBrowser scrolls only to named anchors).
QString anchorFor(const QString& attributes, int pageIndex, int headingIndex)
{
    static const QRegularExpression idRe(QStringLiteral("id\\s*=\\s*\"([^\"]+)\""));
    const QRegularExpressionMatch m = idRe.match(attributes);
    if (m.hasMatch())
        return m.captured(1);
    return QStringLiteral("h%1-%2").arg(pageIndex).arg(headingIndex);
}

const QRegularExpression& headingRe()
{
    static const QRegularExpression re(QStringLiteral("<h([1-3])([^>]*)>(.*?)</h\\1>"),
                                       QRegularExpression::CaseInsensitiveOption
                                           | QRegularExpression::DotMatchesEverythingOption);
    return re;
}

// The page with a named anchor before each heading that has none.
QString withAnchors(const QString& html, int pageIndex)
{
    QString out;
    int last = 0, n = 0;
    QRegularExpressionMatchIterator it = headingRe().globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += html.mid(last, m.capturedStart() - last);
        out += QStringLiteral("<a name=\"%1\"></a>").arg(anchorFor(m.captured(2), pageIndex, n++));
        out += m.captured(0);
        last = m.capturedEnd();
    }
    out += html.mid(last);
    return out;
}

} // namespace

CHelpWindow::CHelpWindow(const QString& manualIndex, QWidget* parent)
    : QDialog(parent)
    , m_folder(QFileInfo(manualIndex).absolutePath())
{
    setWindowTitle(QStringLiteral("塔沃种猪管理大师 使用手册"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(false);
    m_browser->setSearchPaths({m_folder});
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl url = currentUrl().resolved(link);
        if (url.isLocalFile())
            showTopic(url);
        else
            openExternal(url);
    });

    m_contents = new QTreeWidget(this);
    m_contents->setHeaderHidden(true);
    m_results = new QTreeWidget(this);
    m_results->setHeaderHidden(true);
    m_find = new QLineEdit(this);
    m_find->setPlaceholderText(QStringLiteral("输入要查找的字词"));
    m_find->setClearButtonEnabled(true);
    auto* findButton = new QPushButton(QStringLiteral("查找"), this);
    m_found = new QLabel(this);

    auto* searchPage = new QWidget(this);
    auto* searchLayout = new QVBoxLayout(searchPage);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(m_find);
    findRow->addWidget(findButton);
    searchLayout->addLayout(findRow);
    searchLayout->addWidget(m_found);
    searchLayout->addWidget(m_results);

    auto* tabs = new QTabWidget(this);
    tabs->addTab(m_contents, QStringLiteral("目录"));
    tabs->addTab(searchPage, QStringLiteral("搜索"));

    auto* split = new QSplitter(this);
    split->addWidget(tabs);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    split->setSizes({240, 760});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(split);

    auto openItem = [this](QTreeWidgetItem* item) {
        if (item)
            showTopic(item->data(0, Qt::UserRole).toUrl());
    };
    connect(m_contents, &QTreeWidget::itemActivated, this, openItem);
    connect(m_contents, &QTreeWidget::itemClicked, this, openItem);
    connect(m_results, &QTreeWidget::itemActivated, this, openItem);
    connect(m_results, &QTreeWidget::itemClicked, this, [this, openItem](QTreeWidgetItem* item) {
        openItem(item);
        m_browser->find(m_find->text());
    });
    connect(m_find, &QLineEdit::returnPressed, this, [this] { search(m_find->text()); });
    connect(findButton, &QPushButton::clicked, this, [this] { search(m_find->text()); });

    loadTopics();
    resize(1000, 700);
    showTopic(QUrl::fromLocalFile(QFileInfo(manualIndex).absoluteFilePath()));
}

void CHelpWindow::loadTopics()
{
    // index.html first, then the other pages by name: the order the manual is read in.
    QStringList pages = QDir(m_folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    pages.removeAll(QStringLiteral("index.html"));
    pages.prepend(QStringLiteral("index.html"));

    QList<QTreeWidgetItem*> parents;
    for (int p = 0; p < pages.size(); ++p) {
        const QString path = m_folder + QLatin1Char('/') + pages[p];
        const QString html = readPage(path);
        if (html.isEmpty())
            continue;
        QRegularExpressionMatchIterator it = headingRe().globalMatch(html);
        int n = 0;
        int sectionStart = 0;
        int previousTopic = -1;
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (previousTopic >= 0)
                m_sectionText.append({previousTopic, plainText(html.mid(sectionStart, m.capturedStart() - sectionStart))});
            Topic t;
            t.level = m.captured(1).toInt();
            t.title = plainText(m.captured(3)).simplified();
            QUrl url = QUrl::fromLocalFile(path);
            url.setFragment(anchorFor(m.captured(2), p, n++));
            t.url = url;
            previousTopic = m_topics.size();
            sectionStart = m.capturedStart();
            m_topics << t;

            auto* item = new QTreeWidgetItem({t.title});
            item->setData(0, Qt::UserRole, t.url);
            while (!parents.isEmpty() && parents.size() >= t.level)
                parents.removeLast();
            if (parents.isEmpty())
                m_contents->addTopLevelItem(item);
            else
                parents.last()->addChild(item);
            parents << item;
        }
        if (previousTopic >= 0)
            m_sectionText.append({previousTopic, plainText(html.mid(sectionStart))});
        parents.clear();
    }
    m_contents->expandAll();
}

void CHelpWindow::showTopic(const QUrl& url)
{
    const QString path = url.toLocalFile();
    const QStringList pages = [&] {
        QStringList l = QDir(m_folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
        l.removeAll(QStringLiteral("index.html"));
        l.prepend(QStringLiteral("index.html"));
        return l;
    }();
    const int pageIndex = pages.indexOf(QFileInfo(path).fileName());
    if (pageIndex < 0 || currentUrl().toLocalFile() != path) {
        const QString html = readPage(path);
        if (html.isEmpty())
            return;
        m_browser->document()->setMetaInformation(QTextDocument::DocumentUrl, QUrl::fromLocalFile(path).toString());
        m_browser->setProperty("helpPage", path);
        m_browser->setHtml(withAnchors(html, pageIndex));
    }
    if (url.hasFragment())
        m_browser->scrollToAnchor(url.fragment());
    else
        m_browser->moveCursor(QTextCursor::Start);
}

QUrl CHelpWindow::currentUrl() const
{
    return QUrl::fromLocalFile(m_browser->property("helpPage").toString());
}

int CHelpWindow::search(const QString& text)
{
    m_results->clear();
    const QString needle = text.simplified();
    if (needle.isEmpty()) {
        m_found->clear();
        return 0;
    }
    int hits = 0;
    for (const auto& section : m_sectionText) {
        if (!section.second.contains(needle, Qt::CaseInsensitive))
            continue;
        const Topic& t = m_topics.at(section.first);
        auto* item = new QTreeWidgetItem({t.title});
        item->setData(0, Qt::UserRole, t.url);
        m_results->addTopLevelItem(item);
        ++hits;
    }
    m_found->setText(hits ? QStringLiteral("找到 %1 处").arg(hits) : QStringLiteral("没有找到"));
    if (hits) {
        QTreeWidgetItem* first = m_results->topLevelItem(0);
        m_results->setCurrentItem(first);
        showTopic(first->data(0, Qt::UserRole).toUrl());
        m_browser->moveCursor(QTextCursor::Start);
        m_browser->find(needle);
    }
    return hits;
}

void CHelpWindow::openExternal(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}
