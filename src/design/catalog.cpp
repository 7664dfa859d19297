#include "design/catalog.h"

namespace design {

Level levelOfKey(const QString &key)
{
    const QString p = key.left(3);
    if (p == QLatin1String("roo"))
        return Level::Root;
    if (p == QLatin1String("fst"))
        return Level::First;
    if (p == QLatin1String("snd"))
        return Level::Second;
    if (p == QLatin1String("thd"))
        return Level::Third;
    return Level::Other;
}

QString keyPrefix(Level level)
{
    switch (level) {
    case Level::Root: return QStringLiteral("roo");
    case Level::First: return QStringLiteral("fst");
    case Level::Second: return QStringLiteral("snd");
    case Level::Third: return QStringLiteral("thd");
    case Level::Other: break;
    }
    return QString(QLatin1String(""));
}

Level childLevel(Level level)
{
    switch (level) {
    case Level::Root: return Level::First;
    case Level::First: return Level::Second;
    case Level::Second: return Level::Third;
    default: return Level::Other;
    }
}

std::optional<LevelTables> tablesOf(Level level)
{
    switch (level) {
    case Level::First:
        return LevelTables{QStringLiteral("firstCatalog"), QStringLiteral("firstCatalog"), QStringLiteral("content01"),
                           QStringLiteral("firstCatalog")};
    case Level::Second:
        return LevelTables{QStringLiteral("secondCatalog"), QStringLiteral("secondCatalog"),
                           QStringLiteral("content02"), QStringLiteral("secondCatalog")};
    case Level::Third:
        return LevelTables{QStringLiteral("thirdCatalog"), QStringLiteral("thirdCatalog"), QStringLiteral("content03"),
                           QStringLiteral("thirdCatalog")};
    default: return std::nullopt;
    }
}

const std::array<FormatInfo, kFormatCount> &formats()
{
    static const std::array<FormatInfo, kFormatCount> table = {{
        {0, QStringLiteral("txt"), QStringLiteral("文本格式"), QStringLiteral("文本格式"),
         QStringLiteral("该显示格式能够显示简单的文本内容"), false},
        {1, QStringLiteral("news"), QStringLiteral("新闻格式"), QStringLiteral("新闻格式"),
         QStringLiteral("该显示格式能够显示新闻类型的内容，以超连接的方式显示标题，点击超连接可以可以显示相应的内容"), true},
        {2, QStringLiteral("imgTxt01"), QStringLiteral("图文格式一"), QStringLiteral("图文格式一"),
         QStringLiteral("该显示格式能够显示在文本中插入两张图片"), false},
        {3, QStringLiteral("imgTxt02"), QStringLiteral("图文格式二"), QStringLiteral("图文格式二"),
         QStringLiteral("该显示格式能够在内容顶端显示两张图片"), false},
        {4, QStringLiteral("imgTxt03"), QStringLiteral("图文格式三"), QStringLiteral("图片格式三"),
         QStringLiteral("该显示格式能够在内容顶端显示一张大图片"), false},
        {5, QStringLiteral("bigImg"), QStringLiteral("大图片格式"), QStringLiteral("大图片格式"),
         QStringLiteral("该显示格式能够在整个显示区域中显示一张大图片"), false},
        {6, QStringLiteral("imgs"), QStringLiteral("图片展示格式"), QStringLiteral("图片展示格式"),
         QStringLiteral("该显示格式能够显示以图库的形式显示图片，每张图片以超连接显示缩略图，点击超连接可放大图片"), true},
        {7, QStringLiteral("adv"), QStringLiteral("高级设计格式"), QStringLiteral("高级设计格式"), QString(), false},
    }};
    return table;
}

const FormatInfo *formatOf(const QString &key)
{
    for (const FormatInfo &f : formats())
        if (f.key == key)
            return &f;
    return nullptr;
}

bool isKnownFormat(const QString &key)
{
    return formatOf(key) != nullptr;
}

bool isListFormat(const QString &key)
{
    const FormatInfo *f = formatOf(key);
    return f && f->listFormat;
}

bool isOneRecordFormat(const QString &key)
{
    const FormatInfo *f = formatOf(key);
    return f && !f->listFormat;
}

QString previewPage(const QString &key)
{
    return QStringLiteral("tmplImg/") + key + QStringLiteral(".htm");
}

} // namespace design
