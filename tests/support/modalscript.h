#pragma once

// Answers the modal dialogs and message boxes that a test's action opens, in
// order. Each step waits until a modal widget with its window title (or of
// its type) becomes active (a new one, or the same one again after another
// was on top), then runs on it. Steps must not block: a click that opens a
// nested dialog is queued by click(), so that the polling goes on inside the
// nested loop. When steps are still waiting at the deadline, or a modal
// widget nobody answers stays open that long, it is rejected so the test
// cannot hang, and failed() tells.

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

class ModalScript : public QObject
{
public:
    using Step = std::function<void(QWidget *modal)>;

    explicit ModalScript(int timeoutMs = 10000)
        : m_deadline(timeoutMs)
    {
        QTimer::singleShot(0, this, &ModalScript::poll);
    }

    // The next modal widget titled `title` runs `step`.
    ModalScript &on(const QString &title, Step step)
    {
        m_steps.append({[title](QWidget *modal) { return modal->windowTitle() == title; }, std::move(step)});
        return *this;
    }

    // The next modal widget of type T runs `step`, whatever its title.
    template<typename T>
    ModalScript &on(std::function<void(T *)> step)
    {
        m_steps.append({[](QWidget *modal) { return qobject_cast<T *>(modal) != nullptr; },
                        [step](QWidget *modal) { step(qobject_cast<T *>(modal)); }});
        return *this;
    }

    // For a script made with new: it deletes itself once its steps have run,
    // or at the deadline, rejecting nothing then.
    void endWhenDone() { m_endWhenDone = true; }

    // A message box: records its title and text, then presses `button`.
    ModalScript &answer(const QString &title, QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        return on(title, [this, button](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return;
            m_texts.append(box->text());
            if (QAbstractButton *b = box->button(button))
                click(b);
        });
    }

    bool done() const { return m_steps.isEmpty() && !m_failed; }
    bool failed() const { return m_failed; }
    // Titles of the modal widgets answered, then those rejected at the deadline.
    QStringList seen() const { return m_seen; }
    QStringList messageTexts() const { return m_texts; }

    static void click(QAbstractButton *button)
    {
        QTimer::singleShot(0, button, [button] { button->click(); });
    }

private:
    struct Entry
    {
        std::function<bool(QWidget *)> matches;
        Step step;
    };

    void poll()
    {
        if (m_endWhenDone && (m_steps.isEmpty() || m_deadline.hasExpired())) {
            deleteLater();
            return;
        }
        QWidget *active = QApplication::activeModalWidget();
        if (active != m_last)
            m_fresh = true;
        if (m_deadline.hasExpired()) {
            if (active && active->isVisible()) {
                m_failed = true;
                m_seen.append(QStringLiteral("(unanswered) ") + active->windowTitle());
                if (auto *dialog = qobject_cast<QDialog *>(active))
                    dialog->reject();
                else
                    active->close();
            } else if (!m_steps.isEmpty()) {
                m_failed = true;
                m_steps.clear();
            }
        }
        // Keep polling from a timer of its own, even while a step's click
        // runs a nested event loop.
        QTimer::singleShot(10, this, &ModalScript::poll);
        if (!active || !active->isVisible() || !m_fresh || m_steps.isEmpty())
            return;
        if (!m_steps.first().matches(active))
            return;
        // Only on the next poll: a nested dialog that just closed has not yet
        // returned from its exec() into the code that takes its result.
        if (m_candidate != active) {
            m_candidate = active;
            return;
        }
        m_candidate = nullptr;
        const Entry entry = m_steps.takeFirst();
        m_last = active;
        m_fresh = false;
        m_seen.append(active->windowTitle());
        entry.step(active);
    }

    QDeadlineTimer m_deadline;
    QList<Entry> m_steps;
    QPointer<QWidget> m_last;
    QPointer<QWidget> m_candidate;
    bool m_fresh = true;
    bool m_failed = false;
    bool m_endWhenDone = false;
    QStringList m_seen;
    QStringList m_texts;
};

// Answers the next modal dialog of type T: `act` runs once the dialog is the
// active modal widget (it usually accepts or rejects it). A dialog that never
// comes leaves the watcher to end after `timeoutMs`; `*answered` tells.
template<typename T>
void whenModal(std::function<void(T *)> act, bool *answered = nullptr, int timeoutMs = 5000)
{
    if (answered)
        *answered = false;
    auto *script = new ModalScript(timeoutMs);
    script->endWhenDone();
    script->on<T>([act = std::move(act), answered](T *dialog) {
        if (answered)
            *answered = true;
        act(dialog);
    });
}
