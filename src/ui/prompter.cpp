#include "ui/prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace ui {

namespace {
RealPrompter &realPrompter()
{
    static RealPrompter real;
    return real;
}
Prompter *g_current = nullptr;

// Beyond these a box would outgrow the screen: the text scrolls inside it instead.
constexpr qsizetype kLongTextChars = 1500;
constexpr qsizetype kLongTextLines = 20;

// Puts a long text into a read-only scrolling view in place of the box's label, sized
// to leave the box well inside the screen.
void scrollLongText(QMessageBox &box, const QString &text, QWidget *owner)
{
    if (text.size() <= kLongTextChars && text.count(QLatin1Char('\n')) < kLongTextLines)
        return;
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    const int at = grid && label ? grid->indexOf(label) : -1;
    if (at < 0)
        return;
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(at, &row, &column, &rows, &columns);
    auto *view = new QPlainTextEdit(&box);
    view->setObjectName(QStringLiteral("qt_msgbox_scrolltext"));
    view->setReadOnly(true);
    view->setPlainText(text);
    view->setFont(label->font());
    QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QFontMetrics metrics(view->font());
    view->setFixedSize(qMin(metrics.averageCharWidth() * 72, room.width() * 2 / 3),
                       qMin(metrics.lineSpacing() * 24, room.height() / 2));
    label->hide();
    grid->addWidget(view, row, column, rows, columns);
}

// The window that had the keyboard before a box or dialog opened has it again once it
// closes, when no other window took it meanwhile. Where no window manager hands it back,
// none would, and the keys that wait for an active window (the menus', the shortcuts)
// would do nothing.
class KeyboardComesBack {
public:
    KeyboardComesBack() : m_window(QApplication::activeWindow()) {}
    ~KeyboardComesBack()
    {
        const QWidget *now = QApplication::activeWindow();
        if (m_window && m_window->isVisible() && (!now || !now->isVisible()))
            m_window->activateWindow();
    }
    KeyboardComesBack(const KeyboardComesBack &) = delete;
    KeyboardComesBack &operator=(const KeyboardComesBack &) = delete;

private:
    QPointer<QWidget> m_window;
};
} // namespace

Prompter &prompter()
{
    return g_current ? *g_current : realPrompter();
}

void setPrompter(Prompter *p)
{
    g_current = p;
}

int msgBox(const QString &text, int style, const QString &title)
{
    return prompter().msgBox(nullptr, text, style, title);
}

int show(const Message &m)
{
    return prompter().msgBox(nullptr, m.text, m.style, m.title);
}

QString qtFileFilter(const QString &classicFilter)
{
    const QStringList parts = classicFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns)
            p = p.trimmed();
        filters << parts.at(i) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

int RealPrompter::msgBox(QWidget *owner, const QString &text, int style, const QString &title)
{
    QMessageBox box(owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowTitle(title);
    const QString plain = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(plain);
    const int icon = style & 0x70;
    switch (icon) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct Btn {
        QString text;
        int code;
        QMessageBox::ButtonRole role;
    };
    QList<Btn> buttons;
    switch (style & 0x7) {
    case vbOKCancel:
        buttons = {{QStringLiteral("确定"), vbOK, QMessageBox::AcceptRole},
                   {QStringLiteral("取消"), vbCancel, QMessageBox::RejectRole}};
        break;
    case vbYesNo:
        // Not YesRole/NoRole: Qt would make "否" the Escape button and let the close box
        // answer No. A Yes/No question is answered by its buttons only.
        buttons = {{QStringLiteral("是(&Y)"), vbYes, QMessageBox::ActionRole},
                   {QStringLiteral("否(&N)"), vbNo, QMessageBox::ActionRole}};
        break;
    default:
        buttons = {{QStringLiteral("确定"), vbOK, QMessageBox::AcceptRole}};
        break;
    }
    QList<QPushButton *> made;
    for (const Btn &b : buttons)
        made << box.addButton(b.text, b.role);
    box.setDefaultButton(made.first());
    if ((style & 0x7) == vbOKCancel)
        box.setEscapeButton(made.at(1));
    else if ((style & 0x7) == vbOKOnly)
        box.setEscapeButton(made.first());
    scrollLongText(box, plain, owner);
    const KeyboardComesBack back;
    box.exec();
    for (int i = 0; i < made.size(); ++i)
        if (box.clickedButton() == made.at(i))
            return buttons.at(i).code;
    return (style & 0x7) == vbOKCancel ? vbCancel : buttons.first().code;
}

std::optional<QString> RealPrompter::openFile(QWidget *owner, const FileChoice &choice)
{
    QFileDialog dlg(owner, choice.title);
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    if (!choice.filter.isEmpty())
        dlg.setNameFilter(qtFileFilter(choice.filter));
    if (!choice.initialFile.isEmpty()) {
        const QFileInfo fi(choice.initialFile);
        if (fi.isAbsolute()) {
            dlg.setDirectory(fi.absolutePath());
            dlg.selectFile(fi.fileName());
        } else {
            dlg.selectFile(choice.initialFile);
        }
    }
    const KeyboardComesBack back;
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().constFirst();
}

std::optional<QColor> RealPrompter::chooseColor(QWidget *owner, const QColor &initial)
{
    QColorDialog dlg(initial, owner);
    dlg.setOption(QColorDialog::DontUseNativeDialog, true);
    const KeyboardComesBack back;
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.selectedColor();
}

QString RealPrompter::browseFolder(QWidget *owner, const QString &title, const QString &initial)
{
    const KeyboardComesBack back;
    return QFileDialog::getExistingDirectory(owner, title, initial,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

int RealPrompter::execModal(QDialog &dialog)
{
    const KeyboardComesBack back;
    return dialog.exec();
}

} // namespace ui
