// The modal-window watch: records and dismisses every message box, so no test hangs.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

// Watches for modal windows while a test drives the program, so that a test
// never hangs on a message box: every modal window that comes up is recorded
// (title, text) and dismissed at once (a message box with its default button,
// any other dialog rejected). A test then asserts on what was seen — an
// unexpected box shows up there as a failure instead of a hang.
class ModalWatch : public QObject {
    Q_OBJECT
public:
    struct Seen {
        QString title;
        QString text;
        bool hasIcon = false;
        QString buttons;  // texts of the buttons, joined by "|"
    };

    explicit ModalWatch(QObject* parent = nullptr);

    const QList<Seen>& seen() const { return m_seen; }
    void clear() { m_seen.clear(); }

private:
    void poll();

    QTimer m_timer;
    QList<Seen> m_seen;
};
