#pragma once
// One instance of each window, created on first use and reached by its type. Views live
// in the main window's MDI area and stay loaded until the registry unloads them (their
// close box hides them), other windows float above the main window, dialogs are
// children of it. A window's persistent members (those that keep their values after it
// is unloaded) live in a state object kept here, not in the window.

#include "ui/prompter.h"

#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <any>
#include <map>
#include <typeindex>

enum class FormKind {
    MdiView,  // a child window of the main window's MDI area
    TopLevel, // a window of its own, owned by the main window
    Dialog,   // a dialog, shown modal through the prompter seam (or modeless)
};

// Hooks a window may implement.
class IForm {
public:
    virtual ~IForm() = default;
    // Runs once after the window is created and placed.
    virtual void Form_Load() {}
    // An MDI view became / stopped being the active child.
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    // The user closes an MDI view (its close box): false keeps it open as it is. A view
    // that closes is only hidden; it stays loaded with what was typed into it.
    virtual bool Form_QueryUnload() { return true; }
};

class FormRegistry {
public:
    void setHost(QWidget *mainWindow, QMdiArea *area);
    QWidget *mainWindow() const { return m_main; }
    QMdiArea *mdiArea() const { return m_area; }

    // The single instance of T, created (and loaded) when there is none.
    template <class T> T *get()
    {
        if (T *existing = find<T>())
            return existing;
        QWidget *parent = T::kKind == FormKind::MdiView ? nullptr : m_main.data();
        T *w = new T(parent);
        place(w, T::kKind);
        m_forms[std::type_index(typeid(T))] = w;
        if (auto *hooks = dynamic_cast<IForm *>(static_cast<QWidget *>(w)))
            hooks->Form_Load();
        return find<T>();
    }

    template <class T> T *find() const
    {
        auto it = m_forms.find(std::type_index(typeid(T)));
        return it == m_forms.end() ? nullptr : qobject_cast<T *>(it->second.data());
    }

    template <class T> bool isLoaded() const { return find<T>() != nullptr; }

    // Shows a dialog modally through the prompter seam and unloads it when it closes;
    // a dialog whose load unloaded it again is not shown. Returns the dialog's result.
    template <class T> int showModal()
    {
        T *dlg = get<T>();
        if (!dlg)
            return QDialog::Rejected;
        const int result = ui::prompter().execModal(*dlg);
        unload<T>();
        return result;
    }

    template <class T> void unload() { unloadWidget(find<T>()); }

    // Persistent members of a window type, created on first use.
    template <class S> S &state()
    {
        std::any &slot = m_states[std::type_index(typeid(S))];
        if (!slot.has_value())
            slot = std::make_shared<S>();
        return *std::any_cast<std::shared_ptr<S> &>(slot);
    }

    // Unloads one window (nothing when it is not loaded).
    void unloadWidget(QWidget *w);
    // Unloads every window but the main one, creating none.
    void unloadAll();
    // The loaded windows, in the order they were loaded.
    QList<QWidget *> loaded() const;

    // The MDI subwindow around a view (nullptr for other windows).
    static QMdiSubWindow *subWindowOf(const QWidget *view);
    // A window the registry placed as a view.
    static bool isView(const QWidget *w);
    // Shows a view in front of the others and makes it the active child, with the
    // keyboard in the box last used in it (its first box when none was). Any other
    // window is shown in front of the others and activated.
    void showAndFocus(QWidget *w);
    // Shows a view without activating it; any other window as showAndFocus does.
    void showOnly(QWidget *w);

    // While set, activation hooks do nothing (load sequence, shutdown, restore).
    bool starting = false;
    bool closing = false;

private:
    void place(QWidget *w, FormKind kind);

    QPointer<QWidget> m_main;
    QPointer<QMdiArea> m_area;
    std::map<std::type_index, QPointer<QWidget>> m_forms;
    std::map<std::type_index, std::any> m_states;
    QList<QPointer<QWidget>> m_order;
};

// The program's one registry.
FormRegistry &forms();
