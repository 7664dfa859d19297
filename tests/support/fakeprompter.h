#pragma once
// Stands in for the message-box and dialog seam in tests: records every call exactly,
// answers from a script, and fails the test on a question or dialog nobody scripted.

#include "ui/prompter.h"

#include <QColor>
#include <QDialog>
#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

struct PromptCall {
    QString kind; // "msg", "file", "color", "folder", "dialog"
    QString text; // message text, chooser title or dialog class
    int style = 0;
    QString title;
    QString owner; // the owner's objectName
};

class FakePrompter : public ui::Prompter {
public:
    FakePrompter();  // installs itself
    ~FakePrompter() override; // and steps back

    // The answer to the next box with buttons other than OK alone.
    void answerMsg(int answer) { m_msgAnswers.push_back(answer); }
    void answerFile(std::optional<QString> path) { m_files.push_back(std::move(path)); }
    void answerColor(std::optional<QColor> c) { m_colors.push_back(std::move(c)); }
    void answerFolder(const QString &path) { m_folders.push_back(path); }
    // The next modal dialog of type T is handed to fn, which fills it and accepts,
    // rejects, or calls its handlers.
    template <class T> void onDialog(std::function<void(T &)> fn)
    {
        m_dialogs.push_back([fn](QDialog &d) {
            T *t = dynamic_cast<T *>(&d);
            if (!t)
                return false;
            fn(*t);
            return true;
        });
    }

    int msgBox(QWidget *owner, const QString &text, int style, const QString &title) override;
    std::optional<QString> openFile(QWidget *owner, const ui::FileChoice &choice) override;
    std::optional<QColor> chooseColor(QWidget *owner, const QColor &initial) override;
    QString browseFolder(QWidget *owner, const QString &title, const QString &initial) override;
    int execModal(QDialog &dialog) override;

    QList<PromptCall> calls;
    // Message texts only, in order.
    QStringList messages() const;
    // The last message call (an empty call when there was none).
    PromptCall lastMessage() const;
    int messageCount() const { return int(messages().size()); }
    void clear() { calls.clear(); }
    // More calls than this fail the test (catches loops of boxes).
    int maxCalls = 100;
    // Each message box runs the pending events before it answers, as a real modal box's
    // event loop does (deferred calls then run "under" the box).
    bool runEventsInBoxes = false;
    // Runs while a message box is "open" (the user has not yet closed it).
    std::function<void(const PromptCall &)> whileMessageOpen;

private:
    void record(PromptCall call);
    std::deque<int> m_msgAnswers;
    std::deque<std::optional<QString>> m_files;
    std::deque<std::optional<QColor>> m_colors;
    std::deque<QString> m_folders;
    std::deque<std::function<bool(QDialog &)>> m_dialogs;
};
