#pragma once
// The site profile: the one row of user_info, its fixed writers, and the codecs of
// the settings that several values share in one column joined by "||".

#include "core/sitedb.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace profile {

// Every column of the profile row as read; a Null column (or a missing row) is nullopt.
class Profile {
public:
    // False when user_info held no row.
    bool found = false;
    // The column's value; look-ups ignore case ("Address", "address").
    std::optional<QString> value(const QString &column) const;
    // The column's text; Null gives "".
    QString text(const QString &column) const;
    // Sets a column (used by the loader).
    void set(const QString &column, const std::optional<QString> &v);
    // The column names held, as the schema spells them.
    QStringList columns() const { return m_order; }

private:
    QHash<QString, std::optional<QString>> m_values; // lower-case name -> value
    QStringList m_order;
};

// The ten columns of the basic-information save, in the statement's order.
struct BasicInfo {
    QString webName, gov_name, address, linkMan, tel, mobile, fax, zip, email, logo;
};

class ProfileStore {
public:
    explicit ProfileStore(SiteDb &db);

    // The first row of user_info, every column of it; no row is not an error.
    Profile load() const;
    // Writes one column of the row (single-column writers); throws DbNoRow when no
    // row changed and err::Error(Unexpected) for a column outside the writers' list.
    void setColumn(const QString &column, const QString &value);
    // The basic-information save of the ten columns (WHERE user_ID=1); throws DbNoRow
    // when the row is missing.
    void saveBasicInfo(const BasicInfo &info);

    // The columns the single-column writers may name.
    static const QStringList &writableColumns();

private:
    SiteDb &m_db;
};

// ---- Joined values ("||") -------------------------------------------------------

// Splits a joined value on every "||".
QStringList splitJoined(const QString &value);
// The whole number at the head of a text ("12abc" -> 12, "" or "x" -> 0).
qint64 wholeNumber(const QString &text);
// False when a text cannot be stored as a field of a joined value and read back
// unchanged: it holds "||", or (unless it is the last field) ends with "|", which
// would merge with the separator after it.
bool fitsJoined(const QString &text, bool lastField);

// Extra pages (field01): "||a.htm||b.mht"; "" = none. An empty or blank entry names no page.
QStringList decodeExtraPages(const QString &value);
QString encodeExtraPages(const QStringList &names);

// Pop-up window (adBoard): "0" = off, or "1||W||H||T||L||title||content".
struct PopupSetting {
    qint64 state = 0; // field 0 as a whole number: 1 = on
    QString width, height, top, left, title;
    QString content; // stored text form
};
PopupSetting decodePopup(const QString &value);
// The largest size or distance the pop-up window takes, in pixels.
constexpr qint64 kPopupNumberMax = 2147483647;
// A size or position box as stored: a plain whole number from 0 to kPopupNumberMax
// (a blank box gives the default). Width, height and top must be whole numbers;
// left is taken as its nearest whole number, halves to even. nullopt for anything else.
std::optional<QString> popupNumber(const QString &typed, qint64 defaultValue, bool nearest);
// The first size or position box that cannot be stored: 1 width, 2 height, 3 top,
// 4 left; 0 when all can.
int badPopupNumber(const PopupSetting &boxes);
// The stored value from the editor's boxes (content already in the stored text
// form). Empty boxes take 300, 200, 0, 0. nullopt when a size or position cannot be
// stored (popupNumber) or title/content does not fit (popupFits).
std::optional<QString> encodePopup(const PopupSetting &boxes);
// The editor's check before OK: title and content can be stored in the joined value.
bool popupFits(const QString &title, const QString &content);

// Script effect (javascript): "0" = off, or "1||NN.asp||text".
struct ScriptEffect {
    qint64 state = 0; // field 0 as a whole number: 1 = on
    int index = 0;    // the first two characters of field 1
    QString text;
};
// The effects 0..12; indexes 1 and 2 show no text.
constexpr int kScriptEffectCount = 13;
bool effectTakesText(int index);
// Null or "0" reads as effect 0 with an empty text.
ScriptEffect decodeScript(const std::optional<QString> &value);
// "1||NN.asp||text" (text dropped for effects without one); nullopt when the text
// does not fit (scriptFits) or the index is out of range.
std::optional<QString> encodeScript(int index, const QString &text);
// The editor's check before OK: the text can be stored in the joined value.
bool scriptFits(const QString &text);

// Notice flag (field06): "0||<date>" or "1||<date>" (1 = do not show again).
QString encodeNotice(bool dontShowAgain, const QDate &date);
// The notice is due when the flag is 0, 14 or more days have passed since the
// stored date, or the value is empty or malformed.
bool noticeDue(const std::optional<QString> &value, const QDate &today);

} // namespace profile
