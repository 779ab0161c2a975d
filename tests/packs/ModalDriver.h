#pragma once

#include <QAbstractSpinBox>
#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Drives dialogs that a pack runs with exec(): the action runs on the next modal window that is
// not `outer`, from a timer of the test's own (a pack must leave none behind).
inline void OnNextModal(std::function<void(QWidget*)> action, QWidget* outer = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, outer, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool ready = modal && modal != outer && modal->isVisible();
        // Give up after a long while so a dialog that never came cannot catch a later test's.
        if (!ready && ++*tries < 4000) return;
        timer->stop();
        timer->deleteLater();
        if (ready) action(modal);
    });
    timer->start();
}

// Enter or Escape as a user gives it: to the control that has the focus.
inline void PressKey(QWidget* dialog, Qt::Key key) {
    QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    QTest::keyClick(target, key);
}

// Text committed by an input method, the way a Japanese conversion ends.
inline void CommitText(QWidget* field, const QString& text) {
    field->setFocus();
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(field, &event);
}

// A number typed through an input method in full-width mode ("１２．５") into a number box.
inline void CommitNumber(QAbstractSpinBox* box, const QString& text) {
    box->clear();
    CommitText(box, text);
}

// Every top-level widget that still exists; a call that leaves one behind has leaked a window.
inline int TopLevelCount() {
    return int(QApplication::topLevelWidgets().size());
}

// The named controls Tab visits, in order, from the dialog's first focus round to it again.
inline QStringList TabWalk(QWidget* dialog) {
    QApplication::setActiveWindow(dialog);
    QWidget* first = dialog->focusWidget();
    QStringList names;
    if (!first) return names;
    QWidget* current = first;
    for (int guard = 0; guard < 64; ++guard) {
        if (!current->objectName().isEmpty() && !current->objectName().startsWith(QLatin1String("qt_")))
            names << current->objectName();
        QTest::keyClick(current, Qt::Key_Tab);
        current = dialog->focusWidget();
        if (!current || current == first) break;
    }
    return names;
}
