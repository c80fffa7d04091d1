#pragma once

#include <QDialog>
#include <QString>

class AppState;
class QLabel;
namespace NLParser {
struct ParseResult;
}
class QLineEdit;

// A small window in which one typed line becomes an event: the preview
// shows how the line is read before Return stores it. Not modal; the owner
// keeps one instance and shows it again, and each show starts empty.
class QuickAddDialog : public QDialog
{
    Q_OBJECT
public:
    // `state` is not owned.
    QuickAddDialog(AppState *state, QWidget *parent = nullptr);

    // What a preview says instead of a date when the line names a date or
    // time that does not exist ("feb 30"); empty when there is none.
    static QString problemText(const NLParser::ParseResult &parsed);

public Q_SLOTS:
    void onTextChanged(const QString &text);
    void onCommit();

Q_SIGNALS:
    // Nothing could be added because there is no calendar yet.
    void openMainWindow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The preview line; the window grows to show all of it.
    void showPreview(const QString &text);

    AppState *m_state;
    QLineEdit *m_input = nullptr;
    QLabel *m_preview = nullptr;
};
