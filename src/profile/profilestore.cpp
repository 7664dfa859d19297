#include "profile/profilestore.h"

#include "core/textdate.h"
#include "core/textforms.h"

#include <QRegularExpression>
#include <QSqlRecord>
#include <array>
#include <cmath>

namespace profile {

namespace {
const QString kSep = QStringLiteral("||");
}

std::optional<QString> Profile::value(const QString &column) const
{
    return m_values.value(column.toLower(), std::nullopt);
}

QString Profile::text(const QString &column) const
{
    return value(column).value_or(QString(QLatin1String("")));
}

void Profile::set(const QString &column, const std::optional<QString> &v)
{
    const QString key = column.toLower();
    if (!m_values.contains(key))
        m_order << column;
    m_values.insert(key, v);
}

ProfileStore::ProfileStore(SiteDb &db)
    : m_db(db)
{
}

Profile ProfileStore::load() const
{
    const Rows rows = m_db.select(QStringLiteral("SELECT * FROM user_info"));
    Profile p;
    if (rows.empty())
        return p;
    p.found = true;
    const QSqlRecord &rec = rows.front();
    for (int i = 0; i < rec.count(); ++i)
        p.set(rec.fieldName(i), db::optText(rec, rec.fieldName(i)));
    return p;
}

const QStringList &ProfileStore::writableColumns()
{
    static const QStringList cols = {
        QStringLiteral("logo"),        QStringLiteral("defaultFile"), QStringLiteral("topHead"),
        QStringLiteral("field01"),     QStringLiteral("field02"),     QStringLiteral("field03"),
        QStringLiteral("field04"),     QStringLiteral("field05"),     QStringLiteral("field06"),
        QStringLiteral("adBoard"),     QStringLiteral("javascript"),  QStringLiteral("backGround"),
        QStringLiteral("defaultFont"), QStringLiteral("headFont"),    QStringLiteral("defaultTmpl"),
        QStringLiteral("headTmpl"),    QStringLiteral("site_name"),
    };
    return cols;
}

void ProfileStore::setColumn(const QString &column, const QString &value)
{
    // The statement names the column as the list spells it, never as the caller did.
    QString name;
    for (const QString &c : writableColumns())
        if (c.compare(column, Qt::CaseInsensitive) == 0)
            name = c;
    if (name.isEmpty())
        throw err::Error(err::Kind::Unexpected, column);
    if (m_db.exec(QStringLiteral("UPDATE user_info SET %1=?").arg(name), {db::str(value)}) == 0)
        throw err::DbError(err::Kind::DbNoRow);
}

void ProfileStore::saveBasicInfo(const BasicInfo &i)
{
    const int n = m_db.exec(QStringLiteral("UPDATE user_info SET webName=?, gov_name=?, Address=?, linkMan=?, Tel=?, "
                                           "Mobile=?, Fax=?, Zip=?, Email=?, logo=? WHERE user_ID=1"),
                            {db::str(i.webName), db::str(i.gov_name), db::str(i.address), db::str(i.linkMan),
                             db::str(i.tel), db::str(i.mobile), db::str(i.fax), db::str(i.zip), db::str(i.email),
                             db::str(i.logo)});
    if (n == 0)
        throw err::DbError(err::Kind::DbNoRow);
}

QStringList splitJoined(const QString &value)
{
    return value.split(kSep);
}

qint64 wholeNumber(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*([+-]?\\d+)"));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toLongLong() : 0;
}

bool fitsJoined(const QString &text, bool lastField)
{
    return !text.contains(kSep) && (lastField || !text.endsWith(QLatin1Char('|')));
}

bool popupFits(const QString &title, const QString &content)
{
    return fitsJoined(title, false) && fitsJoined(content, true);
}

bool scriptFits(const QString &text)
{
    return fitsJoined(text, true);
}

QStringList decodeExtraPages(const QString &value)
{
    QStringList names = splitJoined(value).mid(1);
    names.removeIf([](const QString &n) { return n.trimmed().isEmpty(); });
    return names;
}

QString encodeExtraPages(const QStringList &names)
{
    QString out(QLatin1String(""));
    for (const QString &n : names)
        out += kSep + n;
    return out;
}

PopupSetting decodePopup(const QString &value)
{
    const QStringList f = splitJoined(value);
    auto field = [&](int i) { return i < f.size() ? f.at(i) : QString(QLatin1String("")); };
    PopupSetting p;
    p.state = wholeNumber(field(0));
    p.width = field(1);
    p.height = field(2);
    p.top = field(3);
    p.left = field(4);
    p.title = field(5);
    p.content = field(6);
    return p;
}

std::optional<QString> popupNumber(const QString &typed, qint64 defaultValue, bool nearest)
{
    if (typed.trimmed().isEmpty())
        return QString::number(defaultValue);
    if (!textforms::isNumeric(typed))
        return std::nullopt;
    QString plain = typed;
    plain.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    bool ok = false;
    double v = plain.toDouble(&ok);
    if (!ok)
        return std::nullopt; // beyond what a double holds
    if (nearest)
        v = std::nearbyint(v); // halves to even
    if (v != std::trunc(v) || !(v >= 0 && v <= double(kPopupNumberMax)))
        return std::nullopt;
    return QString::number(qint64(v));
}

namespace {
// Width, height, top and left as stored, in that order.
std::array<std::optional<QString>, 4> popupNumbers(const PopupSetting &b)
{
    return {popupNumber(b.width, 300, false), popupNumber(b.height, 200, false), popupNumber(b.top, 0, false),
            popupNumber(b.left, 0, true)};
}
} // namespace

int badPopupNumber(const PopupSetting &boxes)
{
    const auto numbers = popupNumbers(boxes);
    for (int i = 0; i < int(numbers.size()); ++i)
        if (!numbers[i])
            return i + 1;
    return 0;
}

std::optional<QString> encodePopup(const PopupSetting &b)
{
    const auto n = popupNumbers(b);
    if (!popupFits(b.title, b.content) || !n[0] || !n[1] || !n[2] || !n[3])
        return std::nullopt;
    return QStringList{QStringLiteral("1"), *n[0], *n[1], *n[2], *n[3], b.title, b.content}.join(kSep);
}

bool effectTakesText(int index)
{
    return index != 1 && index != 2;
}

ScriptEffect decodeScript(const std::optional<QString> &value)
{
    ScriptEffect e;
    if (!value)
        return e;
    const QStringList f = splitJoined(*value);
    e.state = wholeNumber(f.value(0));
    e.index = int(wholeNumber(f.value(1).left(2)));
    e.text = f.value(2, QString(QLatin1String("")));
    return e;
}

std::optional<QString> encodeScript(int index, const QString &text)
{
    if (index < 0 || index >= kScriptEffectCount)
        return std::nullopt;
    const QString shown = effectTakesText(index) ? text : QString(QLatin1String(""));
    if (!scriptFits(shown))
        return std::nullopt;
    return QStringLiteral("1||%1.asp||").arg(index, 2, 10, QLatin1Char('0')) + shown;
}

QString encodeNotice(bool dontShowAgain, const QDate &date)
{
    return (dontShowAgain ? QStringLiteral("1||") : QStringLiteral("0||")) + textdate::format(date);
}

bool noticeDue(const std::optional<QString> &value, const QDate &today)
{
    if (!value)
        return true;
    const QStringList f = splitJoined(*value);
    if (f.size() < 2 || wholeNumber(f.at(0)) == 0)
        return true;
    const QDate stored = textdate::parse(f.at(1));
    return !stored.isValid() || stored.daysTo(today) >= 14;
}

} // namespace profile
