#pragma once
#include <QDialog>
#include <QUrl>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// The manual in the program's own window: a table of contents built from the pages'
// headings, a search over every page, and the page itself with its pictures. It needs
// no web browser; links that leave the manual still go to the browser.
class CHelpWindow : public QDialog
{
    Q_OBJECT
public:
    // manualIndex: the manual's first page (index.html in the manual folder).
    explicit CHelpWindow(const QString& manualIndex, QWidget* parent = nullptr);

    // One entry of the table of contents: a page and an anchor in it.
    struct Topic {
        QString title;
        QUrl url;
        int level = 1; // 1 for a page title, 2 and 3 for its sections
    };
    const QList<Topic>& topics() const { return m_topics; }

    // Opens a page of the manual (or an anchor in it).
    void showTopic(const QUrl& url);
    QUrl currentUrl() const;
    // Lists the sections whose text holds the words and marks the first hit on the
    // page shown; answers how many sections matched.
    int search(const QString& text);

    QTextBrowser* browser() const { return m_browser; }
    QTreeWidget* contents() const { return m_contents; }
    QTreeWidget* results() const { return m_results; }

private:
    void loadTopics();
    void openExternal(const QUrl& url);

    QString m_folder;
    QList<Topic> m_topics;
    // The plain text of each section, for the search.
    QList<QPair<int, QString>> m_sectionText;
    QTextBrowser* m_browser = nullptr;
    QTreeWidget* m_contents = nullptr;
    QTreeWidget* m_results = nullptr;
    QLineEdit* m_find = nullptr;
    QLabel* m_found = nullptr;
};
