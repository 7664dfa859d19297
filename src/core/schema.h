#pragma once
// The site database's tables, written once: the build's generator of the pristine
// database and the tests both create their files from here.

#include "core/sitedb.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace schema {

// CREATE TABLE / CREATE INDEX statements, in order.
QStringList statements();

// The table names, in the order they are created.
QStringList tables();

// The columns of a table as created (empty for an unknown table).
QStringList columns(const QString &table);

// The content and value columns of the content tables: value01..value15, field01..field15.
QStringList valueColumns();
QStringList fieldColumns();

// Opens the site database at path. It counts as whole, and is opened, only when it
// passes SQLite's check and holds every table of tables(); otherwise it is never
// written (SiteDb::open).
bool openSite(SiteDb &db, const QString &path, SiteDb::Check check = SiteDb::Check::Quick);

// Creates every table in an open, empty database.
void create(SiteDb &db);

// Inserts the one user_info row the program ships with and the pickers' lists of
// fonts and templates (stylemanifest); the row's font and template columns name the
// first entry of each list.
void seedProfile(SiteDb &db, const QDate &buildDate, const QString &account);

} // namespace schema
