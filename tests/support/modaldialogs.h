#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Answers the next modal dialog of type T: `act` runs once the dialog is the
// active modal widget (it usually accepts or rejects it). A dialog that never
// comes leaves the watcher to end after `timeoutMs`; `*answered` tells.
template <typename T>
void whenModal(std::function<void(T *)> act, bool *answered = nullptr, int timeoutMs = 5000)
{
    if (answered)
        *answered = false;
    auto *timer = new QTimer;
    timer->setInterval(10);
    auto remaining = std::make_shared<int>(timeoutMs / 10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, answered, remaining] {
        T *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog && --*remaining > 0)
            return;
        timer->stop();
        timer->deleteLater();
        if (!dialog)
            return;
        if (answered)
            *answered = true;
        act(dialog);
    });
    timer->start();
}
