#include "help/helptopics.h"

#include <QFileInfo>

namespace help {

const QList<Topic> &topics()
{
    static const QList<Topic> all = {
        {QStringLiteral("about"), QStringLiteral("Quorvik功能"), QString(), true},
        {QStringLiteral("prodIntro.htm"), QStringLiteral("Quorvik简介"), QStringLiteral("about")},
        {QStringLiteral("setup.htm"), QStringLiteral("Quorvik安装"), QStringLiteral("about")},
        {QStringLiteral("main.htm"), QStringLiteral("Quorvik主界面"), QStringLiteral("about")},
        {QStringLiteral("basic.htm"), QStringLiteral("基本信息"), QStringLiteral("about")},
        {QStringLiteral("sltTmpl.htm"), QStringLiteral("选择模板"), QStringLiteral("about")},
        {QStringLiteral("dgn.htm"), QStringLiteral("设计栏目"), QStringLiteral("about")},
        {QStringLiteral("ins.htm"), QStringLiteral("录入数据"), QStringLiteral("about")},
        {QStringLiteral("updata.htm"), QStringLiteral("上传数据"), QStringLiteral("about")},
        {QStringLiteral("doc"), QStringLiteral("关于我们"), QString(), true},
        {QStringLiteral("index.htm"), QStringLiteral("欢迎使用"), QStringLiteral("doc")},
        {QStringLiteral("ceo.htm"), QStringLiteral("总裁致词"), QStringLiteral("doc")},
        {QStringLiteral("intro.htm"), QStringLiteral("公司介绍"), QStringLiteral("doc")},
        {QStringLiteral("pay.htm"), QStringLiteral("购买须知"), QStringLiteral("doc")},
        {QStringLiteral("FAQ"), QStringLiteral("常见问题"), QString(), true},
        {QStringLiteral("faq01.htm"), QStringLiteral("什么是互联网，互联网有那些用途?"), QStringLiteral("FAQ")},
        {QStringLiteral("faq02.htm"), QStringLiteral("企业为什么要在互联网上建立自己的网站，有何好处？"),
         QStringLiteral("FAQ")},
        {QStringLiteral("faq03.htm"), QStringLiteral("要在互联网上建立自己的网站需要哪些条件？"), QStringLiteral("FAQ")},
        {QStringLiteral("faq04.htm"), QStringLiteral("Quorvik2003对上网显示的图片有什么要求?"), QStringLiteral("FAQ")},
        {QStringLiteral("faq05.htm"), QStringLiteral("在生成网站时，上传速度较慢或中间停止，为什么？"),
         QStringLiteral("FAQ")},
    };
    return all;
}

QString pagePath(const QString &programFolder, const QString &key)
{
    return programFolder + QStringLiteral("help/") + key;
}

QString pageToShow(const QString &programFolder, const QString &key)
{
    const QString path = pagePath(programFolder, key);
    return QFileInfo(path).isFile() ? path : QStringLiteral("about:blank");
}

} // namespace help
