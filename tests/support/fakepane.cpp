#include "fakepane.h"

void FakePane::navigate(const QString &page)
{
    pages << page;
    pieces.clear();
    inner.clear();
    values.clear();
}

void FakePane::setInnerHTML(const QString &id, const QString &html)
{
    inner.insert(id, html);
    values.clear();
}

void FakePane::prependInnerHTML(const QString &id, const QString &html)
{
    inner.insert(id, html + inner.value(id));
}

FakePaneFactory::FakePaneFactory()
{
    setPaneFactory([this](QWidget *parent, PaneOptions options) -> IBrowserPane * {
        auto *pane = new FakePane(parent, options);
        m_made << pane;
        return pane;
    });
}

FakePaneFactory::~FakePaneFactory()
{
    setPaneFactory(nullptr);
}

QList<FakePane *> FakePaneFactory::made() const
{
    QList<FakePane *> out;
    for (const auto &p : m_made)
        if (p)
            out << p.data();
    return out;
}

FakePane *FakePaneFactory::last() const
{
    const auto all = made();
    return all.isEmpty() ? nullptr : all.last();
}

FakePane *FakePaneFactory::forParent(const QString &objectName) const
{
    for (FakePane *p : made())
        for (QWidget *w = p->parentWidget(); w; w = w->parentWidget())
            if (w->objectName() == objectName)
                return p;
    return nullptr;
}
