#pragma once
// One numeric field of the editor: a line edit that keeps only digits and one decimal point
// while the operator types, and a pair of spin arrows of which only the direction counts. It
// reports a finished edit and each spin click; the owner applies the rules and shows the result.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace zeb {

class CValueEdit : public QWidget {
    Q_OBJECT
public:
    enum Option {
        kNone = 0,
        kSwallowEscape = 1,     // Esc does nothing here (value pages)
        kSelectAllOnFocus = 2,  // the whole text is selected when the field gets the focus
    };
    explicit CValueEdit(QWidget* parent = nullptr, int options = kNone);
    ~CValueEdit() override;

    QString Text() const;
    // Shows a text the owner projected. Text the operator has typed and not yet finished stays
    // until the projection changes, or until this field's own edit or spin is answered.
    void Show(const QString& text);
    // Names the field and its arrows for screen readers.
    void SetName(const QString& name);
    QLineEdit* Edit() const { return m_edit; }
    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

signals:
    // The operator left the field (each time, edited or not) or pressed Enter in it.
    void Committed();
    // A spin arrow was clicked (or the arrow keys pressed): up or down.
    void Spun(bool up);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTextEdited();
    void MoveFocusOn();

    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_options;
    QString m_shown;        // the text last projected
    bool m_answer = false;  // an edit or spin of this field awaits its answer
};

}  // namespace zeb
