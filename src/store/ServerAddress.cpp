#include "store/ServerAddress.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

QString decoded(const QString &text)
{
    return QUrl::fromPercentEncoding(text.toUtf8());
}

QString encoded(const QString &text, const QByteArray &keep = {})
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
}

} // namespace

bool ServerAddress::parse(const QString &uri, ServerAddress *out, QString *error)
{
    const QString text = uri.trimmed();
    QString rest;
    for (const QString &scheme : {QStringLiteral("postgresql://"), QStringLiteral("postgres://")}) {
        if (text.startsWith(scheme, Qt::CaseInsensitive))
            rest = text.mid(scheme.size());
    }
    if (rest.isNull())
        return fail(error, QCoreApplication::translate(
                               "ServerAddress", "\"%1\" is not a PostgreSQL address: it must begin with postgresql://.")
                               .arg(text));
    ServerAddress address;
    QString query;
    const int questionMark = rest.indexOf(QLatin1Char('?'));
    if (questionMark >= 0) {
        query = rest.mid(questionMark + 1);
        rest.truncate(questionMark);
    }
    const int slash = rest.indexOf(QLatin1Char('/'));
    QString authority = slash >= 0 ? rest.left(slash) : rest;
    if (slash >= 0)
        address.database = decoded(rest.mid(slash + 1));
    const int at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QString userInfo = authority.left(at);
        authority = authority.mid(at + 1);
        const int colon = userInfo.indexOf(QLatin1Char(':'));
        address.user = decoded(colon >= 0 ? userInfo.left(colon) : userInfo);
        if (colon >= 0)
            address.password = decoded(userInfo.mid(colon + 1));
    }
    if (authority.contains(QLatin1Char(',')))
        return fail(error,
                    QCoreApplication::translate("ServerAddress", "Papyra connects to one server: \"%1\" names several.")
                        .arg(authority));
    QString portText;
    if (authority.startsWith(QLatin1Char('['))) {
        const int close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            return fail(error,
                        QCoreApplication::translate("ServerAddress", "The server address \"%1\" lacks its closing ].")
                            .arg(authority));
        address.host = authority.mid(1, close - 1);
        const QString after = authority.mid(close + 1);
        if (after.startsWith(QLatin1Char(':')))
            portText = after.mid(1);
    } else {
        const int colon = authority.lastIndexOf(QLatin1Char(':'));
        address.host = decoded(colon >= 0 ? authority.left(colon) : authority);
        if (colon >= 0)
            portText = authority.mid(colon + 1);
    }
    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const int equals = pair.indexOf(QLatin1Char('='));
        const QString name = decoded(equals >= 0 ? pair.left(equals) : pair);
        const QString value = equals >= 0 ? decoded(pair.mid(equals + 1)) : QString();
        if (name == QLatin1String("host"))
            address.host = value;
        else if (name == QLatin1String("port"))
            portText = value;
        else if (name == QLatin1String("dbname"))
            address.database = value;
        else if (name == QLatin1String("user"))
            address.user = value;
        else if (name == QLatin1String("password"))
            address.password = value;
        else if (name.isEmpty() || !name.contains(QRegularExpression(QStringLiteral("^[a-z_]+$"))))
            return fail(error,
                        QCoreApplication::translate("ServerAddress", "\"%1\" is not a connection setting.").arg(name));
        else
            address.options.append({name, value});
    }
    if (!portText.isEmpty()) {
        bool ok = false;
        address.port = portText.toInt(&ok);
        if (!ok || address.port < 1 || address.port > 65535)
            return fail(error,
                        QCoreApplication::translate("ServerAddress", "\"%1\" is not a port number.").arg(portText));
    }
    if (address.database.isEmpty())
        return fail(error, QCoreApplication::translate(
                               "ServerAddress", "The address names no database: add /DATABASE after the server."));
    *out = address;
    return true;
}

QString ServerAddress::toUri() const
{
    QString uri = QStringLiteral("postgresql://");
    QStringList query;
    if (!user.isEmpty())
        uri += encoded(user) + QLatin1Char('@');
    if (host.startsWith(QLatin1Char('/')))
        query << QStringLiteral("host=") + encoded(host, "/");
    else if (host.contains(QLatin1Char(':')))
        uri += QLatin1Char('[') + host + QLatin1Char(']');
    else
        uri += encoded(host);
    if (port > 0) {
        if (host.startsWith(QLatin1Char('/')))
            query << QStringLiteral("port=%1").arg(port);
        else
            uri += QStringLiteral(":%1").arg(port);
    }
    uri += QLatin1Char('/') + encoded(database);
    for (const auto &option : options)
        query << option.first + QLatin1Char('=') + encoded(option.second, "/");
    if (!query.isEmpty())
        uri += QLatin1Char('?') + query.join(QLatin1Char('&'));
    return uri;
}

QString ServerAddress::hostForMessages() const
{
    return host.isEmpty() || host.startsWith(QLatin1Char('/')) ? QStringLiteral("localhost") : host;
}

QString ServerAddress::describe() const
{
    return hostForMessages() + QLatin1Char('/') + database;
}

QString ServerAddress::option(const QString &name) const
{
    for (const auto &o : options) {
        if (o.first == name)
            return o.second;
    }
    return QString();
}
