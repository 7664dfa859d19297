#pragma once
// The record of a one-record page (txt, imgTxt01/02/03, bigImg, adv) in its level's
// content table, written by the data-entry view's save and by the editor's, and the
// messages both show with the design view.

#include "core/message.h"
#include "core/sitedb.h"
#include "design/catalog.h"

#include <QString>
#include <QVariantList>

namespace design {

enum class PageStoreOutcome { Stored, NoLevel, NoPage, Failed };

struct PageStoreResult {
    PageStoreOutcome outcome = PageStoreOutcome::Failed;
    QString error; // the failure's description, when the database refused
};

// Runs a one-record page's insert or update once the page is known to exist: NoPage
// when it is gone, Failed with the description when the database refuses the
// statement or it changes no row. An update given `insertSql` runs that insert
// instead when it finds no record.
PageStoreResult storePage(SiteDb &site, Level level, const QString &page, const QString &sql, const QVariantList &binds,
                          const QString &insertSql = QString(), const QVariantList &insertBinds = {});

namespace msg {
// No column is chosen in the tree on the left.
ui::Message noColumnChosen();
// The page is not (or no longer) in the tree.
ui::Message noPage();
// An unexpected failure of a handler (the error's description).
ui::Message failure(const QString &description, int style = ui::vbCritical);
} // namespace msg

} // namespace design
