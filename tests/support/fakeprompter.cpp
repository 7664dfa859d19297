#include "fakeprompter.h"

#include <QCoreApplication>
#include <QTest>
#include <QWidget>

FakePrompter::FakePrompter()
{
    ui::setPrompter(this);
}

FakePrompter::~FakePrompter()
{
    ui::setPrompter(nullptr);
}

void FakePrompter::record(PromptCall call)
{
    calls << call;
    if (calls.size() > maxCalls)
        QTest::qFail("too many prompts: a loop of message boxes?", __FILE__, __LINE__);
}

QStringList FakePrompter::messages() const
{
    QStringList out;
    for (const PromptCall &c : calls)
        if (c.kind == QLatin1String("msg"))
            out << c.text;
    return out;
}

PromptCall FakePrompter::lastMessage() const
{
    for (auto it = calls.crbegin(); it != calls.crend(); ++it)
        if (it->kind == QLatin1String("msg"))
            return *it;
    return {};
}

int FakePrompter::msgBox(QWidget *owner, const QString &text, int style, const QString &title)
{
    record({QStringLiteral("msg"), text, style, title, owner ? owner->objectName() : QString()});
    if (runEventsInBoxes)
        QCoreApplication::processEvents();
    if (whileMessageOpen)
        whileMessageOpen(calls.last());
    if ((style & 0x7) == ui::vbOKOnly)
        return ui::vbOK;
    if (m_msgAnswers.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unscripted question: ") + text), __FILE__, __LINE__);
        return (style & 0x7) == ui::vbYesNo ? ui::vbNo : ui::vbCancel;
    }
    const int a = m_msgAnswers.front();
    m_msgAnswers.pop_front();
    return a;
}

std::optional<QString> FakePrompter::openFile(QWidget *owner, const ui::FileChoice &choice)
{
    record({QStringLiteral("file"), choice.filter, 0, choice.title, owner ? owner->objectName() : QString()});
    if (m_files.empty()) {
        QTest::qFail("unscripted file choice", __FILE__, __LINE__);
        return std::nullopt;
    }
    // Taken by a swap: GCC 12 takes a copy of an optional string here for uninitialised.
    std::optional<QString> a;
    a.swap(m_files.front());
    m_files.pop_front();
    return a;
}

std::optional<QColor> FakePrompter::chooseColor(QWidget *owner, const QColor &)
{
    record({QStringLiteral("color"), QString(), 0, QString(), owner ? owner->objectName() : QString()});
    if (m_colors.empty()) {
        QTest::qFail("unscripted colour choice", __FILE__, __LINE__);
        return std::nullopt;
    }
    auto a = m_colors.front();
    m_colors.pop_front();
    return a;
}

QString FakePrompter::browseFolder(QWidget *owner, const QString &title, const QString &initial)
{
    record({QStringLiteral("folder"), initial, 0, title, owner ? owner->objectName() : QString()});
    if (m_folders.empty()) {
        QTest::qFail("unscripted folder choice", __FILE__, __LINE__);
        return QString();
    }
    const QString a = m_folders.front();
    m_folders.pop_front();
    return a;
}

int FakePrompter::execModal(QDialog &dialog)
{
    record({QStringLiteral("dialog"), QString::fromLatin1(dialog.metaObject()->className()), 0,
            dialog.windowTitle(), dialog.objectName()});
    if (m_dialogs.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unscripted dialog: ") + dialog.windowTitle()), __FILE__, __LINE__);
        return QDialog::Rejected;
    }
    auto handler = m_dialogs.front();
    m_dialogs.pop_front();
    if (!handler(dialog)) {
        QTest::qFail(qPrintable(QStringLiteral("dialog of another type: ") + dialog.windowTitle()), __FILE__,
                     __LINE__);
        return QDialog::Rejected;
    }
    return dialog.result();
}
