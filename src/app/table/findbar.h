// The find bar above the point table: a text to look for in the points' names and codes, buttons for
// the previous and the next match, and a close button. Enter finds the next match, Shift+Enter the
// previous one, Escape closes the bar.
#ifndef FINDBAR_H
#define FINDBAR_H

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

class FindBar : public QWidget
{
    Q_OBJECT

public:
    // Entries of the UI-text list "FindPoint".
    enum Text { Caption, Placeholder, Previous, Next, Close, Found, NotFound };

    explicit FindBar(QWidget* parent = nullptr);

    void set_texts(const QStringList& texts);
    // Shows the bar with its text selected, ready for typing.
    void open();
    QString text() const;
    QLineEdit* edit() const { return edit_; }

signals:
    void find_requested(bool forward);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* caption_;
    QLineEdit* edit_;
    QToolButton* previous_;
    QToolButton* next_;
    QToolButton* close_;
};

#endif // FINDBAR_H
