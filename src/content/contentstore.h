#pragma once
// The content records of the page columns: the layout of each display format in
// value01..value04 of the level's content table, the data-entry view's one-record
// save and list delete, the new-record flag, and the HTML record list of the list
// formats shown in multiData.htm (element editID; the list carries the hidden input
// currID; getID(n) stores the chosen ID there and reports it to the program).

#include "core/message.h"
#include "core/sitedb.h"
#include "design/catalog.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace content {

using design::Level;

// A message box the view shows: text, style, title.
using Message = ui::Message;

// ---- Record layouts ---------------------------------------------------------------

// A one-record page (txt, imgTxt01/02/03, bigImg, adv) as stored.
struct PageRecord {
    QString title;    // txt, imgTxt0x: value01
    QString content;  // txt, imgTxt0x: value02 (stored text form); adv: value01 (stored HTML)
    QString picture1; // imgTxt0x: value03; bigImg: value01
    QString picture2; // imgTxt01/02: value04 (imgTxt03 stores '')
};
// Reads a one-record page's fields by its format; Null reads as "".
PageRecord readPage(const QSqlRecord &rec, const QString &format);

// A news item: value01 title, value02 date text, value03 body (stored text form),
// value04 picture file or ''.
struct NewsItem {
    qint64 id = 0;
    QString title, date, body, picture;
};
NewsItem readNews(const QSqlRecord &rec);
// value01..value04 of a news item.
QStringList valuesOf(const NewsItem &item);

// A gallery picture: value01 caption, value02 picture file, value03 thumbnail file.
struct GalleryItem {
    qint64 id = 0;
    QString caption, picture, thumbnail;
};
GalleryItem readGallery(const QSqlRecord &rec);
// value01..value03 of a gallery picture.
QStringList valuesOf(const GalleryItem &item);
// The thumbnail's name: the picture's name up to its first "." and "_small.bmp".
QString thumbnailName(const QString &picture);

// ---- New-record flag ---------------------------------------------------------------

// Whether the record of the one-record page open in the data-entry view is still to be
// inserted. A page of the advanced format is the editor's to save, and the editor keeps
// its own (advEdit::loadPage).
class NewRecordFlag {
public:
    bool isSet() const { return m_set; }
    // The data-entry view was loaded: clear.
    void viewLoaded();
    // A page was opened: list formats and adv change nothing; otherwise set when the page
    // has no row, cleared when it has one.
    void pageOpened(const QString &format, bool rowFound);
    // The view's save inserted the record.
    void saveInserted();

private:
    bool m_set = false;
};

// ---- The data-entry view's save -----------------------------------------------------

// What the view's "保存" hands over.
struct SaveRequest {
    Level level = Level::Other; // the level of currNode
    QString page;               // currNode's text
    QString format;
    QString title;              // txt_title as typed
    QString content;            // txt_content with CR LF line breaks (encoded here)
    QString currentNames[2];    // pictures chosen since the page was opened (insert)
    QString boxNames[2];        // txt_img(0), txt_img(1) (update)
    bool newRecord = false;     // the view's new-record flag
};

enum class SaveOutcome { Saved, NoLevel, EmptyTitle, NoPage, Failed };

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Failed;
    bool inserted = false; // the view's flag becomes false and the names ""
    QString error;         // the failure's description, when the database refused
};

// The message the view shows for a save's outcome; a failure's reason (the database's
// description) goes on a second line.
Message saveMessage(SaveOutcome outcome, const QString &reason = QString());

// ---- Delete of a list record ---------------------------------------------------------

enum class DeleteOutcome { Deleted, NoLevel, Failed };

struct DeleteResult {
    DeleteOutcome outcome = DeleteOutcome::Failed;
    QString error; // the failure's description
};

// The message for a delete's outcome; nullopt after a delete (the view reloads).
std::optional<Message> deleteMessage(const DeleteResult &result);

class ContentStore {
public:
    explicit ContentStore(SiteDb &db);

    // A page's records, newest (highest ID) first; none for a non-column level.
    Rows loadRecords(Level level, const QString &page) const;
    // The one-record save: checks level, title and format, checks the page still
    // exists, then inserts or updates its columns of the format.
    SaveResult save(const SaveRequest &request);
    // Deletes one record of the page by ID.
    DeleteResult deleteRecord(Level level, const QString &page, qint64 id);

    // A list record of the page by ID; nullopt when the page has no such record or
    // the level is not a column level.
    std::optional<QSqlRecord> loadRecord(Level level, const QString &page, qint64 id) const;
    // Adds a list record to the page with value01.. set to values; returns its ID.
    // Throws err::DbError (the level must be a column level).
    qint64 insertRecord(Level level, const QString &page, const QStringList &values);
    // Sets value01.. of the page's record ID; throws err::DbError, also when no
    // record of the page has that ID.
    void updateRecord(Level level, const QString &page, qint64 id, const QStringList &values);

    // The name under which a gallery dialog writes the thumbnail of a chosen picture:
    // thumbnailName(picture), unless the site names that file and no record names it
    // as the thumbnail of a picture of this very name (it belongs to a picture of the
    // same stem, or serves otherwise); then the first of stem_small2.bmp,
    // stem_small3.bmp, ... that the site does not name and the data folder does not
    // hold (`mine`, the thumbnail the dialog made last, may be written again). Throws
    // err::DbError.
    QString freeThumbnailName(const QString &picture, const QString &dataFolder, const QString &mine) const;

private:
    SiteDb &m_db;
};

// The HTML record list of a news ("news") or gallery (any other) page.
QString buildDataListHtml(const Rows &records, const QString &format);

} // namespace content
