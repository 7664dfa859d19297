#include "core/errors.h"

#include <cerrno>

namespace err {

QString text(Kind kind)
{
    switch (kind) {
    case Kind::DbNotOpen: return QStringLiteral("数据库没有打开");
    case Kind::DbLocked: return QStringLiteral("数据库正被其他程序使用，请关闭该程序后重试");
    case Kind::DbDamaged: return QStringLiteral("数据库文件已损坏，请从备份还原数据");
    case Kind::DbReadOnly:
        return QStringLiteral("数据库文件不能写入（数据文件夹或数据库文件是只读的），修改没有保存；"
                              "请检查数据文件夹的权限（或它所在的磁盘是否只读）后重新启动Quorvik");
    case Kind::BackupDamaged: return QStringLiteral("备份中的数据库文件已损坏，不能用来还原，当前数据保持原样，没有改动");
    case Kind::DbReplaced:
        return QStringLiteral("数据库文件已被另一个运行中的Quorvik换掉（例如还原了数据），修改没有保存；"
                              "请关闭另一个Quorvik，再重新启动本程序");
    case Kind::DbFull:
        return QStringLiteral("磁盘空间不足，数据库文件不能写入，修改没有保存；"
                              "请在数据文件夹所在的磁盘上腾出空间后重试");
    case Kind::DbStatement: return QStringLiteral("数据库操作失败");
    case Kind::DbNoRow: return QStringLiteral("数据库中没有找到要修改的记录");
    case Kind::DbTransaction: return QStringLiteral("数据库事务失败");
    case Kind::FileMissing: return QStringLiteral("文件或文件夹不存在");
    case Kind::FileReserved: return QStringLiteral("不能使用该文件名");
    case Kind::FileCopy: return QStringLiteral("文件复制失败");
    case Kind::FileDelete: return QStringLiteral("文件删除失败");
    case Kind::FileRead: return QStringLiteral("文件读取失败");
    case Kind::FileWrite: return QStringLiteral("文件写入失败");
    case Kind::FolderCreate: return QStringLiteral("无法创建文件夹");
    case Kind::SocketConnect: return QStringLiteral("无法连接到服务器");
    case Kind::SocketRefused: return QStringLiteral("服务器拒绝连接");
    case Kind::SocketClosed: return QStringLiteral("服务器已断开连接");
    case Kind::SocketTimeout: return QStringLiteral("网络连接超时");
    case Kind::SocketOther: return QStringLiteral("网络通讯错误");
    case Kind::Overflow: return QStringLiteral("溢出");
    case Kind::Unexpected: return QStringLiteral("不期望的错误");
    case Kind::FileNameCharset: return QStringLiteral("文件名含有服务器不能识别的字符，请改名后再上传");
    case Kind::Archive: return QStringLiteral("压缩文件写入失败");
    }
    return QStringLiteral("不期望的错误");
}

int number(Kind kind)
{
    // The classic run-time, data-access and socket error numbers where one fits.
    switch (kind) {
    case Kind::DbNotOpen: return 3704;
    case Kind::DbLocked: return 3218;
    case Kind::DbDamaged: return 3343;
    case Kind::DbReadOnly: return 3027;
    case Kind::DbReplaced: return 3197;
    case Kind::DbFull: return 61;
    case Kind::BackupDamaged: return 3049;
    case Kind::DbStatement: return 3001;
    case Kind::DbNoRow: return 3021;
    case Kind::DbTransaction: return 3246;
    case Kind::FileMissing: return 53;
    case Kind::FileReserved: return 58;
    case Kind::FileCopy: return 70;
    case Kind::FileDelete: return 75;
    case Kind::FileRead: return 57;
    case Kind::FileWrite: return 61;
    case Kind::FolderCreate: return 76;
    case Kind::SocketConnect: return 11001;
    case Kind::SocketRefused: return 10061;
    case Kind::SocketClosed: return 10054;
    case Kind::SocketTimeout: return 10060;
    case Kind::SocketOther: return 40006;
    case Kind::Overflow: return 6;
    case Kind::Unexpected: return 5;
    case Kind::FileNameCharset: return 52;
    case Kind::Archive: return 31036;
    }
    return 5;
}

QString describe(Kind kind, const QString &detail, const QString &reason)
{
    const QString what = reason.isEmpty() ? text(kind) : text(kind) + QStringLiteral("，") + reason;
    return detail.isEmpty() ? what : what + QStringLiteral("：") + detail;
}

QString systemReason(int errnum)
{
    switch (errnum) {
    case ENOSPC: return QStringLiteral("磁盘空间不足");
    case EDQUOT: return QStringLiteral("超出了磁盘配额");
    case EROFS: return QStringLiteral("磁盘是只读的");
    case EACCES:
    case EPERM: return QStringLiteral("没有权限");
    case EIO: return QStringLiteral("磁盘读写出错");
    case ENOENT: return QStringLiteral("文件或文件夹不存在");
    case EEXIST: return QStringLiteral("已有同名的文件或文件夹");
    case ENOTDIR:
    case EISDIR: return QStringLiteral("同名的文件和文件夹相冲突");
    case ENOTEMPTY: return QStringLiteral("文件夹不是空的");
    case EXDEV: return QStringLiteral("不能在两个磁盘之间移动");
    case EBUSY: return QStringLiteral("文件夹正被使用，或是一个磁盘的挂载点");
    case ETXTBSY: return QStringLiteral("文件正被使用");
    case ENAMETOOLONG: return QStringLiteral("文件名太长");
    case EFBIG: return QStringLiteral("文件太大");
    case EMFILE:
    case ENFILE: return QStringLiteral("打开的文件太多");
    case ELOOP: return QStringLiteral("链接层数太多");
    }
    return QStringLiteral("系统错误%1").arg(errnum);
}

QString withReason(const QString &message, const QString &description)
{
    return description.isEmpty() ? message : message + QStringLiteral("\r\n") + description;
}

Error::Error(Kind kind, const QString &detail, const QString &reason)
    : std::runtime_error(describe(kind, detail, reason).toStdString())
    , m_kind(kind)
    , m_detail(detail)
    , m_description(describe(kind, detail, reason))
{
}

QString descriptionOf(const std::exception &e)
{
    if (auto *own = dynamic_cast<const Error *>(&e))
        return own->description();
    return QString::fromUtf8(e.what());
}

int numberOf(const std::exception &e)
{
    if (auto *own = dynamic_cast<const Error *>(&e))
        return number(own->kind());
    return number(Kind::Unexpected);
}

} // namespace err
