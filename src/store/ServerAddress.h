#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Where a shared index lies on a PostgreSQL server, read from a libpq connection URI:
//   postgresql://[user[:password]@][host][:port][/database][?name=value&...]
// with percent-encoding, a host in brackets for an IPv6 address, and the query-string form for
// every parameter (postgresql:///papyra?host=/run/postgresql&port=5433&user=anna names a socket
// folder). Parameters other than host, port, dbname, user and password (sslmode, sslrootcert,
// connect_timeout, ...) are passed on to libpq as they are.
struct ServerAddress {
    QString host; // a host name, an address, or a socket folder (starts with '/'); empty: libpq's default
    int port = -1;
    QString database;
    QString user;
    QString password;
    QList<QPair<QString, QString>> options;

    // Reads uri; false with a sentence for the user when it is not a connection URI.
    static bool parse(const QString &uri, ServerAddress *out, QString *error = nullptr);
    // The URI again, without the password: what may be written to a settings file or shown.
    QString toUri() const;
    // For messages and the status bar: "office-server/papyra" ("localhost" for a local socket).
    QString describe() const;
    QString hostForMessages() const;
    QString option(const QString &name) const;
};
