#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QSpinBox;

// What a caller asks the number dialog.
struct NumberRequest {
    QString prompt;
    int value = 0;         // shown when the dialog opens
    bool tabTitle = false; // caption "设置标签" instead of "冻结"
};

// The number dialog: a prompt, an integer field whose arrows step from 0 to 7 (a larger
// number may still be typed), "确定" and "取消". Used for freezing rows and columns and
// for the tab threshold.
class CNumberDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CNumberDlg(QWidget* parent = nullptr);

    void setPrompt(const QString& prompt);
    QString prompt() const;
    void setValue(int value);
    int value() const;
    // Set: the caption becomes "设置标签".
    void setTitleFlag(bool tabTitle);
    bool titleFlag() const { return m_tabTitle; }
    QSpinBox* field() const { return m_field; }

    // The one way to ask for a number: the entered number after OK, nothing after
    // cancel. Goes to the answerer when one is set (tests, headless runs).
    static std::optional<int> askNumber(const NumberRequest& request, QWidget* parent = nullptr);

    using Answerer = std::function<std::optional<int>(const NumberRequest&)>;
    // Replaces how askNumber is answered and returns the answerer it replaced; an empty
    // answerer restores the real dialog.
    static Answerer setAnswerer(Answerer answerer);

private:
    QLabel* m_prompt;
    QSpinBox* m_field;
    bool m_tabTitle = false;
};
